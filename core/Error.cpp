#include "Error.h"

#include <limits>

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

std::int32_t StrToInt(QStringView text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype firstDigit = i;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch < u'0' || ch > u'9' || value > std::numeric_limits<std::int32_t>::max() + 1LL)
            break;
        value = value * 10 + (ch - u'0');
    }
    if (negative)
        value = -value;
    if (i != text.size() || i == firstDigit || value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min())
        throw Error(QStringLiteral("'%1' is not a valid integer value").arg(QuoteField(text)));
    return static_cast<std::int32_t>(value);
}

} // namespace gyrodex
