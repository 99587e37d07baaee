// The boring-log picture on paper (the printer or a PDF file) at a true depth scale, split over
// pages with the headings and the depth axis on each, the title block on the first.
#pragma once

#include <QPagedPaintDevice>
#include <QString>

#include "preview/boring_log_model.h"

namespace ostra {

// Sets A4 portrait with margins of 10 mm.
void UseA4(QPagedPaintDevice& device);

// Draws the picture at 1:`denominator` onto the pages of `device`; returns the number of pages.
int PrintBoringLog(QPagedPaintDevice& device, const BoringLogModel& model, double denominator);

// Writes the picture as a PDF file of A4 pages; false when the file cannot be written.
bool SaveBoringLogPdf(const QString& path, const BoringLogModel& model, double denominator);

}  // namespace ostra
