#pragma once
// The sticker sheet of a capcode plan: one label per pager with its label text and capcodes,
// drawn with Qt's own PDF writer on a common self-adhesive label grid. Needs a
// QGuiApplication (for fonts); the offscreen platform will do.
#include <QList>
#include <QString>

#include "plan/capcode_plan.h"

namespace zr730 {

// A4: 3 × 8 labels of 70 × 37 mm, edge to edge across the page (0.5 mm top margin).
// Letter: 3 × 10 labels of 2 5/8 × 1 in (the Avery 5160 grid: 1/2 in top, 3/16 in left
// margin, 1/8 in between columns).
enum class LabelPage { A4, Letter };

struct LabelGrid {
    int columns, rows;
    double pageWidthMm, pageHeightMm;
    double leftMm, topMm;           // the first label's top-left corner
    double labelWidthMm, labelHeightMm;
    double pitchXMm, pitchYMm;      // from one label's corner to the next one's
};
LabelGrid label_grid(LabelPage page);
// "a4" or "letter" (any case); none for anything else.
std::optional<LabelPage> label_page_from_text(const QString &text);

// The lines one label shows: the row's label (or "Row N" when it has none), then its capcodes
// as "#1 1234567" (the ones the plan sets, those switched off marked "off").
QStringList label_lines(const PlanRow &row);

// Writes the labels of the rows numbered in rows (in that order; every row of the plan when
// empty), filling pages left to right, top to bottom. Returns the problem, empty when written.
QString write_label_sheet(const CapcodePlan &plan, const QList<int> &rows, LabelPage page, const QString &pdfPath);

} // namespace zr730
