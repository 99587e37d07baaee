// The boring-log picture on paper (the printer or a PDF file) at a true depth scale, by the
// print plan of the picture: pages with the hole's name, the scale and their numbers, upright
// or turned when the columns need it.
#pragma once

#include <QPagedPaintDevice>
#include <QString>

#include "preview/boring_log_model.h"

namespace ostra {

// Sets A4 portrait with margins of 10 mm.
void UseA4(QPagedPaintDevice& device);

// Draws the picture at 1:`denominator` onto the pages of `device` (turned to landscape when the
// plan says so); returns the number of pages.
int PrintBoringLog(QPagedPaintDevice& device, const BoringLogModel& model, double denominator);

// Writes the picture as a PDF file of A4 pages; false when the file cannot be written.
bool SaveBoringLogPdf(const QString& path, const BoringLogModel& model, double denominator);

}  // namespace ostra
