#pragma once

#include <QImage>
#include <QRect>

class QPrinter;

namespace gyrodex {

// Where the image goes on the page: scaled to fit keeping its proportions, at the top-left of
// the printable area. Each product and quotient in whole numbers, rounded to the nearest.
QRect PrintTarget(QSize page, QSize image);

// Prints the image as one page, its pixels stretched onto PrintTarget of the printable area.
// Raises an error when the printer cannot start the job.
void PrintImage(QPrinter& printer, const QImage& image);

} // namespace gyrodex
