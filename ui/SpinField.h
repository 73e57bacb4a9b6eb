#pragma once

#include <QAbstractSpinBox>
#include <cstdint>

namespace gyrodex {

// A whole-number field with arrows. Unlike QSpinBox it reports every number the user types,
// as typed: the arrows and leaving the field keep the value inside the range, but while the
// user types, the typed number is the value even when it lies outside the range (a radius of 4
// after the first digit of 400). An empty or unreadable text counts as the minimum, or as 0
// when the field is unlimited (the full signed 32-bit range); a number that does not fit in 32
// bits is unreadable. `valueChanged` comes once for every change of the value and never when
// the value stays the same.
class SpinField : public QAbstractSpinBox {
    Q_OBJECT

public:
    SpinField(std::int32_t minimum, std::int32_t maximum, std::int32_t step, std::int32_t value,
              QWidget* parent);

    std::int32_t value() const { return value_; }
    std::int32_t minimum() const { return min_; }
    std::int32_t maximum() const { return max_; }
    bool unlimited() const;
    // Sets the value held inside the range and shows it; reports a change like the user's.
    void setValue(std::int64_t value);
    // Shows a value as it is, also outside the range, without reporting a change: the field
    // showing the state that a load or another window changed.
    void showValue(std::int32_t value);
    // The most characters the user can type: the digits of the limits, with a sign when the
    // range reaches below zero.
    int maxLength() const;
    void setMaxLength(int length);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QSize sizeHint() const override;

signals:
    void valueChanged(int value);

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The value a text stands for while it is being typed.
    std::int32_t typedValue(const QString& text) const;
    void textEdited(const QString& text);
    // Leaving the field: the value comes back inside the range and the text shows it.
    void settle();
    void change(std::int32_t value);

    std::int32_t min_;
    std::int32_t max_;
    std::int32_t step_;
    std::int32_t value_;
    int maxLength_;
};

} // namespace gyrodex
