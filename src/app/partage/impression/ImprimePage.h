#pragma once

#include <QPageLayout>
#include <QPageSize>

#include "model/Circuit.h"
#include "print/Impression.h"

class QPagedPaintDevice;
class QIODevice;

// Printing on a page of the platform, shared by the print dialog (a QPrinter: a CUPS queue or a
// PDF file) and korv4-cli typon (a QPdfWriter): QtGui only, so that korv4-cli never links
// QtWidgets (Qt Print Support does). The page layout of the documents, the frame, the title
// block and the legend are the core's (print/Impression.h); this draws them through CanevasQt
// on a QPainter over the device.

namespace korv4 {

// The device's page: its resolution (logical dots per inch, the painter's coordinates), its
// printable area in dots and its orientation.
PageImprimante PageDe(const QPagedPaintDevice& peripherique);

// One job, one page: begins the document on the device, draws the job, ends the document.
// False when the device cannot begin (a printer or file that refuses the job); nothing is
// drawn then.
bool ImprimeSurPage(const Circuit& c, TravailImpression& t, QPagedPaintDevice& peripherique);

// The page a QPrinter gives when it prints to a PDF file: 1200 dots per inch, Qt's default
// margins of 10 points on each side, the paper and orientation asked.
QPageLayout MiseEnPagePdf(QPageSize::PageSizeId papier, QPageLayout::Orientation orientation);
constexpr int kResolutionPdf = 1200;
// The page of that layout at that resolution, as the device will report it (PageDe), known
// before any device is opened.
PageImprimante PageDeMiseEnPage(const QPageLayout& miseEnPage, int resolution);

// Prints the job into a PDF document written to `sortie` (a QPdfWriter with MiseEnPagePdf).
// False when the writer cannot begin.
bool ImprimePdf(const Circuit& c, TravailImpression& t, QIODevice& sortie,
                const QPageLayout& miseEnPage, const QString& titre);

}  // namespace korv4
