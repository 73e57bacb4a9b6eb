// The date formatter and the hint text on any pattern and day, and the file date reader.
#include "CalendarFile.h"
#include "DateFormat.h"
#include "Error.h"
#include "FuzzCommon.h"

using namespace gyrodex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 7)
        return 0;
    const auto u16 = [&](std::size_t i) {
        return static_cast<std::uint16_t>(data[i] | (data[i + 1] << 8));
    };
    const DayDate day = MakeDayDate(u16(0), u16(2), u16(4));
    const int hintType = static_cast<std::int8_t>(data[6]) % 3;
    const QString pattern = FuzzText(data + 7, size - 7);

    (void)FormatDate(pattern, day);
    const DateHint hint = MakeDateHint(day, LeftWhole(pattern, 40).toString(), hintType, pattern);
    if (hint.kind == DateHint::Kind::Text)
        Require(hint.text.startsWith(QStringLiteral("  ")) &&
                hint.text.endsWith(QStringLiteral("  ")));

    try {
        Require(IsRealDate(ParseFileDate(pattern)));
    } catch (const Error&) {
    }
    return 0;
}
