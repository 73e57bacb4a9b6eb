#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace gyrodex {

class SpinField;

// "New Image Size": width and height of the image, with presets. Made once, it keeps its
// values from one use to the next.
class ImageSizeDialog : public QDialog {
    Q_OBJECT

public:
    explicit ImageSizeDialog(QWidget* parent = nullptr);

    // Fills width and height from a preset's text "WxH".
    void presetChosen(int index);

    SpinField* widthField;
    SpinField* heightField;
    QComboBox* presetBox;
    QPushButton* okButton;
    QPushButton* cancelButton;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace gyrodex
