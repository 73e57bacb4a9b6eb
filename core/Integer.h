#pragma once

#include <QStringView>
#include <cstdint>
#include <optional>

namespace gyrodex {

// The one reader of whole numbers in text. ParseInteger reads an optional sign, then decimal
// digits, or hexadecimal digits after "$" (and, with `allowCPrefix`, after "0x" or "0X").
// Decimal values must fit 32 bits signed; hexadecimal values may use all 32 bits and are taken
// as their signed reading ($80000008 is -2147483640). Anything else, blanks included, gives no
// value.
std::optional<std::int32_t> ParseInteger(QStringView text, bool allowCPrefix = true);
// The decimal form alone: an optional sign and decimal digits within 32 bits signed. StrToInt
// (Error.h) raises the conversion error where this gives no value.
std::optional<std::int32_t> ParseDecimal(QStringView text);

} // namespace gyrodex
