#include "plan/capcode_plan.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

namespace zr730 {

namespace {

// A CSV record: its cells and the line it began on.
struct Record {
    QStringList cells;
    int line = 0;
};

// The separator the header uses more (outside quotes); "," when neither.
QChar separator_of(const QString &text)
{
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) quoted = !quoted;
        if (quoted) continue;
        if (c == QLatin1Char('\n')) break;
        if (c == QLatin1Char(',')) ++commas;
        if (c == QLatin1Char(';')) ++semicolons;
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

// Splits the text into records (RFC 4180 with either line end); an unclosed quote is reported.
QList<Record> records_of(const QString &text, QChar sep, QList<PlanProblem> &problems)
{
    QList<Record> out;
    Record current{{}, 1};
    QString cell;
    bool quoted = false;
    int line = 1;
    int quoteLine = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n')) ++line;
                cell += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            quoteLine = line;
        } else if (c == sep) {
            current.cells << cell;
            cell.clear();
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
            current.cells << cell;
            cell.clear();
            out << current;
            current = Record{{}, ++line};
        } else {
            cell += c;
        }
    }
    if (quoted)
        problems << PlanProblem{quoteLine, 0, {}, QStringLiteral("a quote opened here is never closed")};
    if (!cell.isEmpty() || !current.cells.isEmpty()) {
        current.cells << cell;
        out << current;
    }
    return out;
}

// A header name as compared: lower case, without spaces, "#", "_" and "-".
QString header_key(const QString &name)
{
    QString k;
    for (const QChar c : name.trimmed())
        if (!c.isSpace() && c != QLatin1Char('#') && c != QLatin1Char('_') && c != QLatin1Char('-')) k += c.toLower();
    return k;
}

// The columns a plan knows: 0 label, 1 … 6 capcodes, 7 … 12 enables.
constexpr int kLabelColumn = 0;
constexpr int kColumnCount = 1 + 2 * kCapcodeCount;

QString column_name(int column)
{
    if (column == kLabelColumn) return QStringLiteral("label");
    if (column <= kCapcodeCount) return QStringLiteral("capcode%1").arg(column);
    return QStringLiteral("enable%1").arg(column - kCapcodeCount);
}

std::optional<int> known_column(const QString &key)
{
    if (key == QLatin1String("label")) return kLabelColumn;
    for (int n = 1; n <= kCapcodeCount; ++n) {
        if (key == QStringLiteral("capcode%1").arg(n)) return n;
        if (key == QStringLiteral("enable%1").arg(n) || key == QStringLiteral("enabled%1").arg(n))
            return kCapcodeCount + n;
    }
    return std::nullopt;
}

std::optional<quint32> capcode_cell(const QString &cell)
{
    const QString t = cell.trimmed();
    if (t.isEmpty()) return std::nullopt;
    // Any number of leading zeros (a text cell of a spreadsheet keeps them); the value is
    // refused as soon as it passes the largest capcode, so it never overflows.
    quint32 v = 0;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        v = v * 10 + quint32(c.unicode() - '0');
        if (v > kCapcodeMax) return std::nullopt;
    }
    return v;
}

} // namespace

std::optional<bool> plan_switch(const QString &cell)
{
    const QString t = cell.trimmed().toLower();
    for (const char *yes : {"yes", "y", "1", "on", "true", "x"})
        if (t == QLatin1String(yes)) return true;
    for (const char *no : {"no", "n", "0", "off", "false"})
        if (t == QLatin1String(no)) return false;
    return std::nullopt;
}

QString plan_problem_text(const PlanProblem &p)
{
    QString where;
    if (p.line > 0) where = p.row > 0 ? QStringLiteral("line %1 (row %2)").arg(p.line).arg(p.row)
                                     : QStringLiteral("line %1").arg(p.line);
    if (!p.column.isEmpty()) where += (where.isEmpty() ? QString() : QStringLiteral(", ")) + p.column;
    return where.isEmpty() ? p.text : where + QStringLiteral(": ") + p.text;
}

const PlanRow *CapcodePlan::row(int n) const
{
    if (n >= 1 && n <= rows.size() && rows[n - 1].number == n) return &rows[n - 1];
    for (const PlanRow &r : rows)
        if (r.number == n) return &r;
    return nullptr;
}

QList<int> CapcodePlan::capcodeSlots() const
{
    QList<int> records;
    for (int i = 0; i < kCapcodeCount; ++i)
        for (const PlanRow &r : rows)
            if (r.capcodes[std::size_t(i)] || r.enabled[std::size_t(i)]) {
                records << i;
                break;
            }
    return records;
}

CapcodePlan parse_capcode_plan(const QByteArray &bytes, const QString &name)
{
    CapcodePlan plan;
    plan.name = name;
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decode(bytes);
    if (decode.hasError()) {
        plan.problems << PlanProblem{0, 0, {}, QStringLiteral("the file is not UTF-8 text (save it from the spreadsheet as \"CSV UTF-8\")")};
        return plan;
    }
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    QList<PlanProblem> &problems = plan.problems;
    const QList<Record> records = records_of(text, separator_of(text), problems);
    if (records.isEmpty()) {
        problems << PlanProblem{0, 0, {}, QStringLiteral("the file is empty: it needs a header row, then one row per pager")};
        return plan;
    }

    // The header: which cell holds which known column.
    std::array<int, kColumnCount> at{};
    at.fill(-1);
    const Record &header = records.first();
    for (int i = 0; i < header.cells.size(); ++i) {
        const auto column = known_column(header_key(header.cells[i]));
        if (!column) continue;
        if (at[std::size_t(*column)] >= 0)
            problems << PlanProblem{header.line, 0, column_name(*column), QStringLiteral("the column is there twice")};
        else
            at[std::size_t(*column)] = i;
    }
    bool anyCapcode = false;
    for (int n = 1; n <= kCapcodeCount; ++n) anyCapcode = anyCapcode || at[std::size_t(n)] >= 0;
    if (!anyCapcode)
        problems << PlanProblem{header.line, 0, {},
                                QStringLiteral("the header row names no capcode column (label, capcode1 … capcode6, "
                                               "enable1 … enable6)")};

    QHash<quint32, const PlanRow *> firstWith; // capcode #1 → the first row holding it
    const PlanRow *firstWithout = nullptr;     // the first row that leaves capcode #1 to the base
    QList<int> withoutCapcode1;                // rows whose capcode #1 cell is empty
    plan.rows.reserve(records.size());
    int number = 0;
    for (qsizetype r = 1; r < records.size(); ++r) {
        const Record &rec = records[r];
        if (std::all_of(rec.cells.begin(), rec.cells.end(), [](const QString &c) { return c.trimmed().isEmpty(); }))
            continue;
        PlanRow row;
        row.number = ++number;
        row.line = rec.line;
        auto cell = [&](int column) {
            const int i = at[std::size_t(column)];
            return i >= 0 && i < rec.cells.size() ? rec.cells[i] : QString();
        };
        if (rec.cells.size() > header.cells.size())
            problems << PlanProblem{rec.line, row.number, {},
                                    QStringLiteral("the row has %1 cells, the header %2 columns (a separator too many?)")
                                        .arg(rec.cells.size())
                                        .arg(header.cells.size())};
        row.label = cell(kLabelColumn).trimmed();
        if (cell(1).trimmed().isEmpty()) withoutCapcode1 << row.number;
        for (int n = 1; n <= kCapcodeCount; ++n) {
            const QString c = cell(n);
            if (!c.trimmed().isEmpty()) {
                row.capcodes[std::size_t(n - 1)] = capcode_cell(c);
                if (!row.capcodes[std::size_t(n - 1)])
                    problems << PlanProblem{rec.line, row.number, column_name(n),
                                            QStringLiteral("\"%1\" is not a capcode (a whole number 0 … %2)")
                                                .arg(c.trimmed())
                                                .arg(kCapcodeMax)};
            }
            const QString e = cell(kCapcodeCount + n);
            if (!e.trimmed().isEmpty()) {
                row.enabled[std::size_t(n - 1)] = plan_switch(e);
                if (!row.enabled[std::size_t(n - 1)])
                    problems << PlanProblem{rec.line, row.number, column_name(kCapcodeCount + n),
                                            QStringLiteral("\"%1\" is neither yes nor no").arg(e.trimmed())};
            }
        }
        plan.rows << row;
    }
    for (const PlanRow &row : std::as_const(plan.rows)) {
        // Rows that leave capcode #1 empty all take the base configuration's: two of them would
        // give two pagers one capcode.
        if (withoutCapcode1.contains(row.number)) {
            if (!firstWithout) {
                firstWithout = &row;
                continue;
            }
            problems << PlanProblem{row.line, row.number, column_name(1),
                                    QStringLiteral("capcode #1 is empty here and in row %1 (line %2): both pagers would "
                                                   "get the base configuration's; each pager needs its own")
                                        .arg(firstWithout->number)
                                        .arg(firstWithout->line)};
            continue;
        }
        if (!row.capcodes[0]) continue;
        const auto it = firstWith.constFind(*row.capcodes[0]);
        if (it == firstWith.constEnd()) {
            firstWith.insert(*row.capcodes[0], &row);
            continue;
        }
        problems << PlanProblem{row.line, row.number, column_name(1),
                                QStringLiteral("capcode %1 is already row %2's capcode #1 (line %3); each pager needs "
                                               "its own")
                                    .arg(QString::fromStdString(capcode_text(*row.capcodes[0])))
                                    .arg((*it)->number)
                                    .arg((*it)->line)};
    }
    if (plan.rows.isEmpty() && problems.isEmpty())
        problems << PlanProblem{0, 0, {}, QStringLiteral("the plan has no rows below its header")};
    // In line order, and along the line in column order.
    auto rank = [](const PlanProblem &p) { return p.column.isEmpty() ? -1 : known_column(p.column).value_or(-1); };
    std::stable_sort(problems.begin(), problems.end(), [&](const PlanProblem &a, const PlanProblem &b) {
        return a.line != b.line ? a.line < b.line : rank(a) < rank(b);
    });
    return plan;
}

CapcodePlan read_capcode_plan(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        CapcodePlan plan;
        plan.name = QFileInfo(path).fileName();
        plan.path = path;
        plan.problems << PlanProblem{0, 0, {}, QStringLiteral("%1 cannot be read (%2)").arg(path, file.errorString())};
        return plan;
    }
    CapcodePlan plan = parse_capcode_plan(file.readAll(), QFileInfo(path).fileName());
    plan.path = path;
    return plan;
}

QList<PlanProblem> check_plan_against_ledger(const CapcodePlan &plan, Ledger &ledger, QString *ledgerProblem)
{
    QList<quint32> capcodes;
    for (const PlanRow &row : plan.rows)
        if (row.capcodes[0]) capcodes << *row.capcodes[0];
    QList<PlanProblem> out;
    if (capcodes.isEmpty()) {
        if (ledgerProblem) ledgerProblem->clear();
        return out;
    }
    const QList<LedgerEntry> written = ledger.writtenWith(capcodes, ledgerProblem);
    for (const PlanRow &row : plan.rows) {
        if (!row.capcodes[0]) continue;
        for (const LedgerEntry &e : written) { // newest first: the latest pager is named
            if (e.plan == plan.name && e.planRow == row.number && e.planLabel == row.label) continue; // this very row
            const bool holds = std::any_of(e.capcodes.begin(), e.capcodes.end(), [&](const LedgerCapcode &c) {
                return c.enabled && c.capcode == *row.capcodes[0];
            });
            if (!holds) continue;
            const QString where = e.plan.isEmpty() ? QString()
                                                   : QStringLiteral(" (plan %1, row %2)").arg(e.plan).arg(e.planRow);
            out << PlanProblem{row.line, row.number, column_name(1),
                               QStringLiteral("capcode %1 was written and verified into another pager on %2 at %3%4")
                                   .arg(QString::fromStdString(capcode_text(*row.capcodes[0])),
                                        ledger_when(e.time), e.station,
                                        where)};
            break;
        }
    }
    return out;
}

PagerImage apply_plan_row(const PagerImage &base, const PlanRow &row)
{
    PagerImage image = base;
    for (int i = 0; i < kCapcodeCount; ++i) {
        if (row.capcodes[std::size_t(i)]) capcode_set(image, i, *row.capcodes[std::size_t(i)]);
        if (row.enabled[std::size_t(i)]) image.field_set(kCapcodeBase + 3 * i, 7, *row.enabled[std::size_t(i)] ? 1 : 0, 1);
    }
    return image;
}

void mark_plan_entry(LedgerEntry &entry, const CapcodePlan &plan, const PlanRow &row)
{
    entry.plan = plan.name;
    entry.planRow = row.number;
    entry.planLabel = row.label;
}

QString plan_row_state_text(PlanRowState state)
{
    switch (state) {
    case PlanRowState::ToDo: return QStringLiteral("to do");
    case PlanRowState::Written: return QStringLiteral("written and verified");
    case PlanRowState::Failed: return QStringLiteral("failed");
    case PlanRowState::Writing: return QStringLiteral("being written");
    }
    return {};
}

PlanProgress plan_progress(const CapcodePlan &plan, const QList<LedgerEntry> &planEntries, const QDateTime &now)
{
    PlanProgress p;
    QHash<int, QList<const LedgerEntry *>> byRow;
    for (const LedgerEntry &e : planEntries)
        if (e.plan == plan.name) byRow[e.planRow] << &e;
    const QDateTime claimsFrom = now.addSecs(-kLedgerClaimSeconds);
    p.rows.reserve(plan.rows.size());
    for (const PlanRow &row : plan.rows) {
        PlanRowProgress state;
        const LedgerEntry *verified = nullptr, *writing = nullptr, *failed = nullptr;
        for (const LedgerEntry *e : byRow.value(row.number)) {
            if (e->planLabel != row.label) continue;
            auto later = [e](const LedgerEntry *than) { return !than || e->time > than->time; };
            switch (e->outcome) {
            case LedgerOutcome::WrittenVerified:
                if (later(verified)) verified = e;
                break;
            case LedgerOutcome::Writing:
                if (e->time >= claimsFrom && later(writing)) writing = e;
                break;
            case LedgerOutcome::VerifyError:
            case LedgerOutcome::WriteError:
                if (later(failed)) failed = e;
                break;
            default: break;
            }
        }
        if (verified) {
            state = {PlanRowState::Written, *verified};
        } else if (writing && (!failed || writing->time >= failed->time)) {
            state = {PlanRowState::Writing, *writing};
        } else if (failed) {
            state = {PlanRowState::Failed, *failed};
        }
        if (p.next == 0 && (state.state == PlanRowState::ToDo || state.state == PlanRowState::Failed)) p.next = row.number;
        p.rows << state;
    }
    return p;
}

PlanProgress plan_progress(const CapcodePlan &plan, Ledger &ledger)
{
    QString problem;
    LedgerReach reach = LedgerReach::Whole;
    const QList<LedgerEntry> entries = ledger.planWrites(plan.name, &problem, &reach);
    PlanProgress p = plan_progress(plan, entries);
    p.problem = problem;
    p.reach = reach;
    return p;
}

std::optional<QList<int>> plan_row_selection(const CapcodePlan &plan, const QString &text, QString *problem)
{
    QList<int> out;
    auto fail = [&](const QString &why) -> std::optional<QList<int>> {
        if (problem) *problem = why;
        return std::nullopt;
    };
    for (const QString &part : text.split(QLatin1Char(','))) {
        const QStringList ends = part.trimmed().split(QLatin1Char('-'));
        bool ok1 = false, ok2 = true;
        const int first = ends.value(0).trimmed().toInt(&ok1);
        const int last = ends.size() == 2 ? ends[1].trimmed().toInt(&ok2) : first;
        if (ends.size() > 2 || !ok1 || !ok2 || last < first)
            return fail(QStringLiteral("\"%1\" is not a row or a range of rows such as 1-5").arg(part.trimmed()));
        for (int n = first; n <= last; ++n) {
            if (!plan.row(n)) return fail(QStringLiteral("the plan has no row %1 (rows 1 … %2)").arg(n).arg(plan.rows.size()));
            if (!out.contains(n)) out << n;
        }
    }
    if (problem) problem->clear();
    return out;
}

} // namespace zr730
