#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace gyrodex {

class SpinField;

// "New Image Size": width and height of the image, with presets. Made once, it keeps its
// values from one use to the next.
class TfrmSize : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSize(QWidget* parent = nullptr);

    // Fills width and height from a preset's text "WxH".
    void cbPresetChange(int index);

    SpinField* spnWidth;
    SpinField* spnHeight;
    QComboBox* cbPreset;
    QPushButton* btnOk;
    QPushButton* btnCancel;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace gyrodex
