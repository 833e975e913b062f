#pragma once
// File ▸ "Ledger…": the programming ledger's entries, newest first, with the command line's
// filters; rows are fetched from the ledger page by page as they are scrolled to, so the window
// opens at once however long the ledger is. Exports the filtered list as CSV, opens an entry's
// image into the editor and compares an entry with the configuration on screen.
#include <QAbstractTableModel>
#include <QList>
#include <QWidget>

#include "ledger/ledger.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace zr730 {

class MainWindow;

// The entries of one filter, fetched kLedgerPageSize at a time.
class LedgerTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kPageSize = 200;

    explicit LedgerTableModel(Ledger &ledger, QObject *parent = nullptr);
    // Starts the listing again from its newest entry.
    void setFilter(const LedgerFilter &filter);
    const LedgerFilter &filter() const { return m_filter; }
    const LedgerEntry &entry(int row) const { return m_entries.at(row); }
    // The ledger's warning about the last page read (empty when it was read whole).
    QString problem() const { return m_problem; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    Ledger &m_ledger;
    LedgerFilter m_filter;
    QList<LedgerEntry> m_entries;
    bool m_atEnd = false;
    QString m_problem;
};

class LedgerWindow : public QWidget {
    Q_OBJECT
public:
    LedgerWindow(MainWindow &window, Ledger &ledger, QWidget *parent = nullptr);

    // Reads the filter boxes and lists again; false (after saying why) when a box is malformed.
    bool find();
    // The entry of the current row; null when none is chosen (after saying so).
    const LedgerEntry *chosenEntry();
    // The filtered list (all of it, not just the rows fetched) as CSV, to a file the user names.
    void exportCsv();
    // The chosen entry's image into the editor, as File ▸ Open does.
    void openInEditor();
    // The chosen entry against the configuration on screen, field by field.
    void compareWithScreen();

    LedgerTableModel &model() { return *m_model; }

    QLineEdit *txtLedgerCapcode = nullptr, *txtLedgerFrom = nullptr, *txtLedgerTo = nullptr;
    QLineEdit *txtLedgerStation = nullptr, *txtLedgerPlan = nullptr;
    QComboBox *cboLedgerOutcome = nullptr;
    QPushButton *cmdLedgerFind = nullptr;
    QTableView *grdLedger = nullptr;
    QLabel *lblLedgerCount = nullptr;
    QPushButton *cmdLedgerExport = nullptr, *cmdLedgerOpen = nullptr, *cmdLedgerCompare = nullptr;
    QPushButton *cmdLedgerClose = nullptr;

private:
    void showCount();

    MainWindow &m_window;
    Ledger &m_ledger;
    LedgerTableModel *m_model = nullptr;
};

} // namespace zr730
