#pragma once

#include <QString>
#include <stdexcept>

namespace gyrodex {

// The one error type of the program: it carries the exact text shown to the user.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// A field's text as a message quotes it: at most kQuotedField characters, then "…", with control
// characters shown escaped (\n, \t, \0, \x1b), so that a bad field of any size or content
// gives a short, printable message. File names are not passed through this: messages name
// files in full.
constexpr qsizetype kQuotedField = 100;
QString QuoteField(QStringView text);

// At most `maxUnits` UTF-16 units of the text, one fewer when the cut would fall between the two
// halves of a character outside the Basic Multilingual Plane (an emoji, say): a cut text never
// ends in half a character, which would be written out as "?".
QStringView LeftWhole(QStringView text, qsizetype maxUnits);

// Converts whole decimal text (optional sign, digits, at most 32 bits signed);
// anything else raises "'%s' is not a valid integer value".
std::int32_t StrToInt(QStringView text);

} // namespace gyrodex
