#include "plan/plan_labels.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace zr730 {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr int kResolution = 1200; // dots per inch of the PDF's drawing units
constexpr double kPaddingMm = 3.0;

double dots(double mm) { return mm / kMmPerInch * kResolution; }

} // namespace

LabelGrid label_grid(LabelPage page)
{
    if (page == LabelPage::Letter)
        return {3, 10, 215.9, 279.4, 4.7625, 12.7, 66.675, 25.4, 69.85, 25.4};
    return {3, 8, 210.0, 297.0, 0.0, 0.5, 70.0, 37.0, 70.0, 37.0};
}

std::optional<LabelPage> label_page_from_text(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("a4")) return LabelPage::A4;
    if (t == QLatin1String("letter")) return LabelPage::Letter;
    return std::nullopt;
}

QStringList label_lines(const PlanRow &row)
{
    QStringList lines{row.label.isEmpty() ? QStringLiteral("Row %1").arg(row.number) : row.label};
    for (int i = 0; i < kCapcodeCount; ++i) {
        const auto &c = row.capcodes[std::size_t(i)];
        if (!c) continue;
        const bool off = row.enabled[std::size_t(i)] == std::optional<bool>(false);
        lines << QStringLiteral("#%1 %2%3").arg(i + 1).arg(QString::fromStdString(capcode_text(*c)),
                                                          off ? QStringLiteral(" off") : QString());
    }
    return lines;
}

QString write_label_sheet(const CapcodePlan &plan, const QList<int> &rows, LabelPage page, const QString &pdfPath)
{
    QList<const PlanRow *> chosen;
    if (rows.isEmpty()) {
        for (const PlanRow &r : plan.rows) chosen << &r;
    } else {
        for (const int n : rows) {
            const PlanRow *r = plan.row(n);
            if (!r) return QStringLiteral("the plan has no row %1").arg(n);
            chosen << r;
        }
    }
    // The sheet appears whole or not at all.
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) return QStringLiteral("%1 cannot be written (%2)").arg(pdfPath, file.errorString());

    const LabelGrid g = label_grid(page);
    QPdfWriter pdf(&file);
    pdf.setResolution(kResolution);
    pdf.setPageSize(page == LabelPage::A4 ? QPageSize(QPageSize::A4) : QPageSize(QPageSize::Letter));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    pdf.setTitle(QStringLiteral("Labels of %1").arg(plan.name));
    pdf.setCreator(QStringLiteral("zr730"));

    QPainter painter;
    if (!painter.begin(&pdf)) return QStringLiteral("%1 cannot be written (the PDF writer refused it)").arg(pdfPath);
    // Sizes follow the label's height, so both grids read alike.
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setBold(true);
    title.setPointSizeF(g.labelHeightMm * 0.45);
    QFont body(QStringLiteral("DejaVu Sans Mono"));
    body.setStyleHint(QFont::Monospace);
    body.setPointSizeF(g.labelHeightMm * 0.28);

    const int perPage = g.columns * g.rows;
    for (qsizetype i = 0; i < chosen.size(); ++i) {
        if (i > 0 && i % perPage == 0) pdf.newPage();
        const int slot = int(i % perPage);
        const double x = g.leftMm + (slot % g.columns) * g.pitchXMm + kPaddingMm;
        const double y = g.topMm + (slot / g.columns) * g.pitchYMm + kPaddingMm;
        const double w = g.labelWidthMm - 2 * kPaddingMm;
        const QStringList lines = label_lines(*chosen[i]);

        painter.setFont(title);
        const QFontMetricsF tm(title, &pdf);
        const QString head = tm.elidedText(lines.first(), Qt::ElideRight, dots(w));
        painter.drawText(QPointF(dots(x), dots(y) + tm.ascent()), head);

        // The capcodes in two columns below the label.
        painter.setFont(body);
        const QFontMetricsF bm(body, &pdf);
        const double top = dots(y) + tm.height() + bm.ascent();
        for (qsizetype k = 1; k < lines.size(); ++k) {
            const qsizetype n = k - 1;
            painter.drawText(QPointF(dots(x) + (n % 2) * dots(w) / 2, top + (n / 2) * bm.height()), lines[k]);
        }
    }
    if (!painter.end()) return QStringLiteral("%1 cannot be written (the PDF writer failed)").arg(pdfPath);
    if (!file.commit()) return QStringLiteral("%1 cannot be written (%2)").arg(pdfPath, file.errorString());
    return {};
}

} // namespace zr730
