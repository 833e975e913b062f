#include "editor/ledger_window.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>

#include "editor/controls.h"
#include "editor/main_window.h"
#include "image/capcodes.h"
#include "image/field_catalogue.h"
#include "image/pll.h"
#include "support/program_paths.h"
#include "support/texts.h"

namespace zr730 {

namespace {

enum Column { ColTime, ColStation, ColOutcome, ColCapcodes, ColBand, ColFrequency, ColPlan, ColTable, ColId, ColumnCount };

QString capcodes_cell(const LedgerEntry &e)
{
    QStringList on;
    for (std::size_t i = 0; i < e.capcodes.size(); ++i)
        if (e.capcodes[i].enabled)
            on << QStringLiteral("#%1 %2").arg(i + 1).arg(QString::fromStdString(capcode_text(e.capcodes[i].capcode)));
    return on.join(QStringLiteral(", "));
}

QString band_cell(int band)
{
    if (band < 0 || band >= kBandCount) return QString();
    const std::string_view b = kBandEntries[std::size_t(band)];
    return QString::fromLatin1(b.data(), qsizetype(b.size()));
}

QString plan_cell(const LedgerEntry &e)
{
    if (e.plan.isEmpty()) return QString();
    QString s = QStringLiteral("%1 row %2").arg(e.plan).arg(e.planRow);
    if (!e.planLabel.isEmpty()) s += QStringLiteral(" \"%1\"").arg(e.planLabel);
    return s;
}

// A filter box with its caption, announced by that caption.
QLineEdit *filterBox(QWidget *parent, QGridLayout *grid, int row, int column, const char *name, const QString &caption,
                     const QString &placeholder = {})
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setPlaceholderText(placeholder);
    auto *label = new QLabel(caption, parent);
    label->setBuddy(box);
    box->setAccessibleName(QString(caption).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    grid->addWidget(label, row, column);
    grid->addWidget(box, row, column + 1);
    return box;
}

} // namespace

// ---- the model --------------------------------------------------------------------------

LedgerTableModel::LedgerTableModel(Ledger &ledger, QObject *parent) : QAbstractTableModel(parent), m_ledger(ledger) {}

void LedgerTableModel::setFilter(const LedgerFilter &filter)
{
    beginResetModel();
    m_filter = filter;
    m_entries.clear();
    m_atEnd = false;
    m_problem.clear();
    endResetModel();
    fetchMore({});
}

int LedgerTableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_entries.size()); }
int LedgerTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant LedgerTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size()) return {};
    const LedgerEntry &e = m_entries.at(index.row());
    if (role == Qt::ForegroundRole) {
        const bool bad = e.outcome == LedgerOutcome::VerifyError || e.outcome == LedgerOutcome::WriteError;
        return bad ? QVariant(QColor(0xb0, 0, 0)) : QVariant();
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
    case ColTime: return e.time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case ColStation: return e.station;
    case ColOutcome: return outcome_text(e.outcome);
    case ColCapcodes: return capcodes_cell(e);
    case ColBand: return band_cell(e.band);
    case ColFrequency:
        return e.frequency > 0 ? QStringLiteral("%1.%2").arg(e.frequency / 100000).arg(e.frequency % 100000, 5, 10, QLatin1Char('0'))
                               : QString();
    case ColPlan: return plan_cell(e);
    case ColTable: return role == Qt::ToolTipRole ? e.tableFile : QFileInfo(e.tableFile).fileName();
    case ColId: return e.uid.left(kLedgerShortIdLength);
    default: return {};
    }
}

QVariant LedgerTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const names[ColumnCount] = {"Time (UTC)", "Station", "Outcome", "Capcodes enabled", "Band",
                                                   "MHz", "Plan", "Table file", "Id"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(names[section]) : QVariant();
}

bool LedgerTableModel::canFetchMore(const QModelIndex &parent) const { return !parent.isValid() && !m_atEnd; }

void LedgerTableModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || m_atEnd) return;
    std::optional<LedgerCursor> after;
    if (!m_entries.isEmpty()) after = ledger_cursor(m_entries.constLast());
    QString problem;
    const QList<LedgerEntry> page = m_ledger.page(m_filter, after, kPageSize, &problem);
    m_problem = problem;
    m_atEnd = page.size() < kPageSize;
    if (page.isEmpty()) return;
    beginInsertRows({}, int(m_entries.size()), int(m_entries.size() + page.size()) - 1);
    m_entries += page;
    endInsertRows();
}

// ---- the window -------------------------------------------------------------------------

LedgerWindow::LedgerWindow(MainWindow &window, Ledger &ledger, QWidget *parent)
    : QWidget(parent, Qt::Window), m_window(window), m_ledger(ledger)
{
    setObjectName(QStringLiteral("frmLedger"));
    setWindowTitle(QString::fromLatin1(text::kLedgerWindowTitle));

    auto *filters = new QGridLayout;
    txtLedgerCapcode = filterBox(this, filters, 0, 0, "txtLedgerCapcode", QStringLiteral("&Capcode:"));
    txtLedgerFrom = filterBox(this, filters, 0, 2, "txtLedgerFrom", QStringLiteral("&From:"), QStringLiteral("YYYY-MM-DD"));
    txtLedgerTo = filterBox(this, filters, 0, 4, "txtLedgerTo", QStringLiteral("&To:"), QStringLiteral("YYYY-MM-DD"));
    txtLedgerStation = filterBox(this, filters, 1, 0, "txtLedgerStation", QStringLiteral("&Station:"));
    txtLedgerPlan = filterBox(this, filters, 1, 2, "txtLedgerPlan", QStringLiteral("&Plan:"), QStringLiteral("plan file name"));
    cboLedgerOutcome = new QComboBox(this);
    cboLedgerOutcome->setObjectName(QStringLiteral("cboLedgerOutcome"));
    cboLedgerOutcome->addItem(QStringLiteral("any"));
    for (LedgerOutcome o : {LedgerOutcome::WrittenVerified, LedgerOutcome::VerifyError, LedgerOutcome::WriteError,
                            LedgerOutcome::Refused, LedgerOutcome::Read, LedgerOutcome::Writing})
        cboLedgerOutcome->addItem(outcome_text(o), int(o));
    cboLedgerOutcome->setAccessibleName(QStringLiteral("Outcome"));
    auto *outcomeLabel = new QLabel(QStringLiteral("&Outcome:"), this);
    outcomeLabel->setBuddy(cboLedgerOutcome);
    filters->addWidget(outcomeLabel, 1, 4);
    filters->addWidget(cboLedgerOutcome, 1, 5);
    cmdLedgerFind = makeDialogButton(this, "cmdLedgerFind", QStringLiteral("Find"));
    filters->addWidget(cmdLedgerFind, 0, 6, 2, 1);
    filters->setColumnStretch(1, 1);
    filters->setColumnStretch(3, 1);
    filters->setColumnStretch(5, 1);

    m_model = new LedgerTableModel(ledger, this);
    grdLedger = new QTableView(this);
    grdLedger->setObjectName(QStringLiteral("grdLedger"));
    grdLedger->setAccessibleName(QStringLiteral("Ledger entries"));
    grdLedger->setModel(m_model);
    grdLedger->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdLedger->setSelectionMode(QAbstractItemView::SingleSelection);
    grdLedger->verticalHeader()->hide();
    grdLedger->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdLedger->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grdLedger->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics fm = fontMetrics();
    const int digit = fm.horizontalAdvance(QLatin1Char('0'));
    for (auto [column, chars] : {std::pair{ColTime, 19}, {ColStation, 10}, {ColOutcome, 18}, {ColCapcodes, 24},
                                 {ColBand, 13}, {ColFrequency, 10}, {ColPlan, 30}, {ColTable, 12}})
        grdLedger->setColumnWidth(column, digit * chars);

    lblLedgerCount = new QLabel(this);
    lblLedgerCount->setObjectName(QStringLiteral("lblLedgerCount"));
    lblLedgerCount->setWordWrap(true);
    cmdLedgerExport = makeDialogButton(this, "cmdLedgerExport", QStringLiteral("Export CSV…"));
    cmdLedgerOpen = makeDialogButton(this, "cmdLedgerOpen", QStringLiteral("Open in Editor"));
    cmdLedgerCompare = makeDialogButton(this, "cmdLedgerCompare", QStringLiteral("Compare with Screen"));
    cmdLedgerClose = makeDialogButton(this, "cmdLedgerClose", QStringLiteral("Close"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblLedgerCount, 1);
    buttons->addWidget(cmdLedgerExport);
    buttons->addWidget(cmdLedgerOpen);
    buttons->addWidget(cmdLedgerCompare);
    buttons->addSpacing(12);
    buttons->addWidget(cmdLedgerClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(grdLedger, 1);
    layout->addLayout(buttons);
    resize(digit * 155, 520);

    connect(cmdLedgerFind, &QPushButton::clicked, this, &LedgerWindow::find);
    for (QLineEdit *box : {txtLedgerCapcode, txtLedgerFrom, txtLedgerTo, txtLedgerStation, txtLedgerPlan})
        connect(box, &QLineEdit::returnPressed, this, &LedgerWindow::find);
    connect(cboLedgerOutcome, &QComboBox::activated, this, &LedgerWindow::find);
    connect(cmdLedgerExport, &QPushButton::clicked, this, &LedgerWindow::exportCsv);
    connect(cmdLedgerOpen, &QPushButton::clicked, this, &LedgerWindow::openInEditor);
    connect(cmdLedgerCompare, &QPushButton::clicked, this, &LedgerWindow::compareWithScreen);
    connect(cmdLedgerClose, &QPushButton::clicked, this, &QWidget::close);

    m_model->setFilter({});
    showCount();
}

bool LedgerWindow::find()
{
    MessageService &messages = m_window.state().messages;
    LedgerFilter f;
    if (const QString c = txtLedgerCapcode->text().trimmed(); !c.isEmpty()) {
        bool ok = false;
        const uint v = c.toUInt(&ok);
        if (!ok || v > kCapcodeMax) {
            messages.show(QString::fromLatin1(text::kLedgerBadCapcode), MsgIcon::Warning);
            txtLedgerCapcode->setFocus();
            return false;
        }
        f.capcode = v;
    }
    for (auto [box, date] : {std::pair{txtLedgerFrom, &f.from}, {txtLedgerTo, &f.to}}) {
        const QString t = box->text().trimmed();
        if (t.isEmpty()) continue;
        *date = QDate::fromString(t, Qt::ISODate);
        if (!date->isValid()) {
            messages.show(QString::fromLatin1(text::kLedgerBadDate), MsgIcon::Warning);
            box->setFocus();
            return false;
        }
    }
    f.station = txtLedgerStation->text().trimmed();
    f.plan = txtLedgerPlan->text().trimmed();
    if (const QVariant o = cboLedgerOutcome->currentData(); o.isValid()) f.outcome = LedgerOutcome(o.toInt());
    m_model->setFilter(f);
    showCount();
    return true;
}

void LedgerWindow::showCount()
{
    QString problem;
    const qint64 n = m_ledger.count(m_model->filter(), &problem);
    if (problem.isEmpty()) problem = m_model->problem();
    QString text = n == 1 ? QString::fromLatin1(text::kLedgerOneEntry) : QString::fromLatin1(text::kLedgerEntryCount).arg(n);
    if (!problem.isEmpty()) text += QStringLiteral(" — ") + problem;
    lblLedgerCount->setText(text);
    lblLedgerCount->setStyleSheet(problem.isEmpty() ? QString() : QStringLiteral("color: #b00000"));
}

const LedgerEntry *LedgerWindow::chosenEntry()
{
    const QModelIndex current = grdLedger->currentIndex();
    if (!current.isValid()) {
        m_window.state().messages.show(QString::fromLatin1(text::kLedgerPickEntry), MsgIcon::Information);
        return nullptr;
    }
    return &m_model->entry(current.row());
}

void LedgerWindow::exportCsv()
{
    ProgramState &state = m_window.state();
    if (!state.files) return;
    const LedgerFilter filter = m_model->filter();
    QString path = state.files->saveFile(user_file_folder(state), QString::fromLatin1(text::kCsvFilter));
    // The program may have been ended while the chooser was open: nothing more is written or said.
    if (path.isEmpty() || state.program_ending) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    if (QFileInfo::exists(path)
        && state.messages.show(QString::fromLatin1(text::kOverwriteFile), MsgIcon::None, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString problem;
    const QList<LedgerEntry> entries = m_ledger.list(filter, &problem);
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) && file.write(ledger_csv(entries).toUtf8()) >= 0 && file.commit();
    QApplication::restoreOverrideCursor();
    if (!saved) {
        state.messages.show(QString::fromLatin1(text::kLedgerExportFailed).arg(path, file.errorString()), MsgIcon::Warning);
        return;
    }
    QString said = QString::fromLatin1(text::kLedgerExported).arg(entries.size()).arg(path);
    if (!problem.isEmpty()) said += QLatin1Char('\n') + problem;
    state.messages.show(said, problem.isEmpty() ? MsgIcon::Information : MsgIcon::Warning);
}

void LedgerWindow::openInEditor()
{
    const LedgerEntry *chosen = chosenEntry();
    if (!chosen) return;
    const QString uid = chosen->uid;
    const LedgerLookup found = m_ledger.find(uid);
    if (!found.entry || found.entry->image.size() != kImageSize) {
        m_window.state().messages.show(QString::fromLatin1(text::kLedgerNoImage).arg(uid.left(kLedgerShortIdLength))
                                           + (found.problem.isEmpty() ? QString() : QLatin1Char('\n') + found.problem),
                                       MsgIcon::Warning);
        return;
    }
    m_window.openLedgerImage(*found.entry);
}

void LedgerWindow::compareWithScreen()
{
    const LedgerEntry *chosen = chosenEntry();
    if (!chosen) return;
    const QString uid = chosen->uid;
    const QString id = uid.left(kLedgerShortIdLength);
    MessageService &messages = m_window.state().messages;
    const LedgerLookup found = m_ledger.find(uid);
    if (!found.entry || found.entry->image.size() != kImageSize) {
        messages.show(QString::fromLatin1(text::kLedgerNoImage).arg(id), MsgIcon::Warning);
        return;
    }
    PagerImage entry;
    std::copy(found.entry->image.cbegin(), found.entry->image.cend(), entry.bytes().begin());
    const auto differences = field_differences(entry, m_window.state().image);
    if (differences.empty()) {
        messages.show(QString::fromLatin1(text::kLedgerSame).arg(id), MsgIcon::Information);
        return;
    }
    const QString report = QString::fromStdString(differences_report(differences, "ledger", "screen", differences.size()));
    messages.showDetailed(QString::fromLatin1(text::kLedgerDiffers).arg(id).arg(differences.size()), report.trimmed(),
                          MsgIcon::Information);
}

} // namespace zr730
