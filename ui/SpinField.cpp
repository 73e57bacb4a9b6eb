#include "SpinField.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <limits>

namespace gyrodex {

namespace {

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

int Digits(std::int64_t v) {
    int n = 1;
    for (v = v < 0 ? -v : v; v >= 10; v /= 10)
        ++n;
    return n;
}

} // namespace

SpinField::SpinField(std::int32_t minimum, std::int32_t maximum, std::int32_t step,
                     std::int32_t value, QWidget* parent)
    : QAbstractSpinBox(parent), min_(minimum), max_(std::max(minimum, maximum)),
      step_(std::max<std::int32_t>(step, 1)),
      value_(std::clamp(value, minimum, std::max(minimum, maximum))) {
    maxLength_ = std::max(Digits(min_), Digits(max_)) + (min_ < 0 ? 1 : 0);
    lineEdit()->setMaxLength(maxLength_);
    lineEdit()->setText(QString::number(value_));
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    connect(lineEdit(), &QLineEdit::textEdited, this, &SpinField::textEdited);
}

bool SpinField::unlimited() const {
    return min_ == kMin32 && max_ == kMax32;
}

int SpinField::maxLength() const {
    return maxLength_;
}

void SpinField::setMaxLength(int length) {
    maxLength_ = std::max(1, length);
    lineEdit()->setMaxLength(maxLength_);
}

std::int32_t SpinField::typedValue(const QString& text) const {
    const std::int32_t unreadable = unlimited() ? 0 : min_;
    const QString t = text.trimmed();
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    if (ok && v >= kMin32 && v <= kMax32)
        return static_cast<std::int32_t>(v);
    // A whole number too long for 32 bits is held inside the field's range, as leaving the
    // field would hold it, rather than read as nothing.
    const QStringView digits =
        t.startsWith(u'-') || t.startsWith(u'+') ? QStringView(t).sliced(1) : QStringView(t);
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return unreadable;
    return static_cast<std::int32_t>(t.startsWith(u'-') ? min_ : max_);
}

void SpinField::change(std::int32_t value) {
    if (value == value_)
        return;
    value_ = value;
    emit valueChanged(value_);
}

void SpinField::textEdited(const QString& text) {
    change(typedValue(text));
}

void SpinField::setValue(std::int64_t value) {
    const auto v = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, min_, max_));
    lineEdit()->setText(QString::number(v));
    change(v);
}

void SpinField::settle() {
    const auto v = std::clamp(value_, min_, max_);
    if (lineEdit()->text() != QString::number(v))
        lineEdit()->setText(QString::number(v));
    change(v);
}

void SpinField::stepBy(int steps) {
    // The arrows start from the value in range, so a typed 4 in 60..2048 steps to 60 or 70.
    const std::int64_t from = std::clamp(value_, min_, max_);
    setValue(from + static_cast<std::int64_t>(steps) * step_);
    selectAll();
}

QAbstractSpinBox::StepEnabled SpinField::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value_ < max_)
        enabled |= StepUpEnabled;
    if (value_ > min_)
        enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State SpinField::validate(QString& input, int&) const {
    // Digits only, with a leading minus sign where the range allows negative numbers.
    if (input.size() > maxLength_)
        return QValidator::Invalid;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        if (c.isDigit() && c.unicode() < 128)
            continue;
        if (c == u'-' && i == 0 && min_ < 0)
            continue;
        return QValidator::Invalid;
    }
    return QValidator::Acceptable;
}

void SpinField::fixup(QString& input) const {
    input = QString::number(std::clamp(value_, min_, max_));
}

void SpinField::showValue(std::int32_t value) {
    value_ = value;
    if (lineEdit()->text() != QString::number(value))
        lineEdit()->setText(QString::number(value));
}

void SpinField::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    // Leaving the field settles it; switching to another window (the palette's "Repaint") or
    // opening a popup does not leave it.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        settle();
}

void SpinField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        settle();
    QAbstractSpinBox::keyPressEvent(event);
}

QSize SpinField::sizeHint() const {
    const QFontMetrics fm(font());
    return QAbstractSpinBox::sizeHint().expandedTo(
        QSize(fm.horizontalAdvance(QString(maxLength_, u'8')) + 24, 0));
}

} // namespace gyrodex
