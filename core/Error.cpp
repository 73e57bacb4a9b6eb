#include "Error.h"

#include "Integer.h"

namespace gyrodex {

QString QuoteField(QStringView text) {
    QString out;
    qsizetype shown = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++shown) {
        if (shown == kQuotedField) {
            out += QChar(0x2026);
            break;
        }
        const char16_t c = text[i].unicode();
        if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else if (c == u'\t')
            out += QLatin1String("\\t");
        else if (c == 0)
            out += QLatin1String("\\0");
        else if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            out += QStringLiteral("\\x%1").arg(static_cast<unsigned>(c), 2, 16, QLatin1Char('0'));
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                 QChar::isLowSurrogate(text[i + 1].unicode()))
            out += text.mid(i++, 2); // one character, never cut in two
        else
            out += QChar(c);
    }
    return out;
}

QStringView LeftWhole(QStringView text, qsizetype maxUnits) {
    if (maxUnits < 0)
        maxUnits = 0;
    if (text.size() <= maxUnits)
        return text;
    if (maxUnits > 0 && text[maxUnits - 1].isHighSurrogate() && text[maxUnits].isLowSurrogate())
        --maxUnits;
    return text.first(maxUnits);
}

std::int32_t StrToInt(QStringView text) {
    if (const auto value = ParseDecimal(text))
        return *value;
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(QuoteField(text)));
}

} // namespace gyrodex
