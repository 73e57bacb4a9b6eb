#include "Error.h"

#include "Integer.h"

namespace gyrodex {

std::int32_t StrToInt(QStringView text) {
    if (const auto value = ParseDecimal(text))
        return *value;
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

} // namespace gyrodex
