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

// Prints the image as one page into a PDF file that lands whole or not at all: the printer
// writes a temporary file beside the target, which is checked to be a complete PDF before it
// replaces the target (see SaveFileWhole). A printer that could not write all of it raises
// "Unable to write to %s" and leaves the target as it was.
void PrintImageToPdf(QPrinter& printer, const QImage& image, const QString& fileName);

} // namespace gyrodex
