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

// Converts whole decimal text (optional sign, digits, at most 32 bits signed);
// anything else raises "'%s' is not a valid integer value".
std::int32_t StrToInt(QStringView text);

} // namespace gyrodex
