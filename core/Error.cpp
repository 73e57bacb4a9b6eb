#include "Error.h"

#include <limits>

namespace gyrodex {

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
        throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return static_cast<std::int32_t>(value);
}

} // namespace gyrodex
