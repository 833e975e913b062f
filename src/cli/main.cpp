// zr730-cli: the command-line companion of the ZR730 pager programmer.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstring>
#include <memory>

#include "cli/cli_commands.h"
#include "cli/cli_terminal.h"

using namespace zr730::cli;

namespace {

const char kUsage[] =
    "Usage: zr730-cli COMMAND [OPTIONS] FILE...\n"
    "\n"
    "Commands:\n"
    "  info FILE.tbl             the configuration in words (--json for scripts)\n"
    "  diff A.tbl B.tbl          the fields that differ; exit 0 equal, 1 different\n"
    "  read OUT.tbl              read the pager on the board into a table file\n"
    "  write IN.tbl              write a table file into the pager, then verify it\n"
    "  verify IN.tbl             compare the pager with a table file, field by field\n"
    "  ledger                    list the programming ledger (filters below; --csv for CSV)\n"
    "  ledger --image ID OUT.tbl write the image recorded in entry ID (the id column of a\n"
    "                            listing, or its whole uid) as a table file\n"
    "  write BASE.tbl --plan PLAN.csv\n"
    "                            program the plan's rows not yet written and verified, one\n"
    "                            pager each: the base configuration with the row's capcodes;\n"
    "                            press Enter between pagers (a failed row is offered again;\n"
    "                            end of input stops; --yes does not skip the Enter)\n"
    "  write BASE.tbl --plan PLAN.csv --row N\n"
    "                            program row N of the plan only\n"
    "  plan check PLAN.csv       every problem of the plan (line, row, column, text), and its\n"
    "                            capcodes #1 already written into other pagers; exit 3 if any\n"
    "  plan status PLAN.csv      each row's state from the ledger (to do, written and verified,\n"
    "                            failed, being written) and the next row\n"
    "  labels PLAN.csv -o LABELS.pdf\n"
    "                            the plan's label sheet: each row's label and capcodes\n"
    "\n"
    "Options:\n"
    "  --json                    info: print JSON\n"
    "  --port PATH               the board's serial device (else the adapters of the settings)\n"
    "  --trace FILE              log every frame to and from the board\n"
    "  --yes                     answer Yes to the program's questions (RoHS, capcodes already\n"
    "                            in other pagers); it does not press Enter in a series or plan run\n"
    "  --series N                write: program N pagers, pressing Enter between them\n"
    "  --increment 1st,2nd       write: capcodes that go up by one after each pager\n"
    "  --capcode N               ledger: entries holding capcode N (enabled)\n"
    "  --from DATE, --to DATE    ledger: entries of these days (YYYY-MM-DD, UTC, inclusive)\n"
    "  --station NAME            ledger: entries of one station\n"
    "  --outcome TEXT            ledger: \"written and verified\", \"verify error\", \"write error\",\n"
    "                            \"refused\", \"read\" or \"writing\"\n"
    "  --plan PLAN.csv           write: program from this capcode plan\n"
    "  --plan NAME               ledger: entries written from the plan of this file name\n"
    "  --row N                   write --plan: row N only (1 is the first row below the header)\n"
    "  --rows LIST               labels: these rows only, such as 1-5,8 (default: every row)\n"
    "  --page a4|letter          labels: A4, 3 x 8 labels of 70 x 37 mm (default), or Letter,\n"
    "                            3 x 10 labels of 2 5/8 x 1 in (Avery 5160)\n"
    "  -o, --output FILE.pdf     labels: the PDF to write\n"
    "\n"
    "Plan file: CSV (UTF-8, separator , or ;) with a header row naming its columns: label,\n"
    "capcode1 ... capcode6 (0 ... 2097151; empty: as in the base configuration), enable1 ...\n"
    "enable6 (yes/no; empty: as in the base configuration). Other columns are ignored.\n"
    "\n"
    "Exit status: 0 done, 1 different or verify error, 2 bad arguments, 3 file problem (also\n"
    "a plan with problems), 4 no board, 5 transfer failed, 6 refused or stopped,\n"
    "7 not a ZR730 pager, 8 ledger server not reached (only this station's entries).\n";

// The command word: the first argument that is neither an option nor an option's value.
QString command_of(int argc, char *argv[])
{
    static const char *const withValue[] = {"--port", "--trace", "--series", "--increment", "--capcode", "--from", "--to",
                                            "--station", "--outcome", "--image", "--plan", "--row", "--rows", "--page",
                                            "-o", "--output"};
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-') return QString::fromLocal8Bit(argv[i]);
        if (std::strchr(argv[i], '=')) continue;
        for (const char *o : withValue)
            if (std::strcmp(argv[i], o) == 0) ++i;
    }
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    // Labels are drawn with Qt's PDF writer, which needs the GUI part of Qt (fonts), but no
    // display: the offscreen platform unless the user named one.
    std::unique_ptr<QCoreApplication> application;
    if (command_of(argc, argv) == QLatin1String("labels")) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("ZR730"));

    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption trace(QStringLiteral("trace"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption yes(QStringLiteral("yes"));
    const QCommandLineOption series(QStringLiteral("series"), QString(), QStringLiteral("N"));
    const QCommandLineOption increment(QStringLiteral("increment"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption capcode(QStringLiteral("capcode"), QString(), QStringLiteral("N"));
    const QCommandLineOption from(QStringLiteral("from"), QString(), QStringLiteral("DATE"));
    const QCommandLineOption to(QStringLiteral("to"), QString(), QStringLiteral("DATE"));
    const QCommandLineOption station(QStringLiteral("station"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption outcome(QStringLiteral("outcome"), QString(), QStringLiteral("TEXT"));
    const QCommandLineOption csv(QStringLiteral("csv"));
    const QCommandLineOption image(QStringLiteral("image"), QString(), QStringLiteral("ID"));
    const QCommandLineOption planOption(QStringLiteral("plan"), QString(), QStringLiteral("PLAN"));
    const QCommandLineOption row(QStringLiteral("row"), QString(), QStringLiteral("N"));
    const QCommandLineOption rows(QStringLiteral("rows"), QString(), QStringLiteral("LIST"));
    const QCommandLineOption page(QStringLiteral("page"), QString(), QStringLiteral("SIZE"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("FILE"));
    parser.addOptions({json, port, trace, yes, series, increment, help, capcode, from, to, station, outcome, csv, image,
                       planOption, row, rows, page, output});
    if (!parser.parse(app.arguments())) {
        err_line(QStringLiteral("zr730-cli: ") + parser.errorText());
        return kExitUsage;
    }
    QStringList args = parser.positionalArguments();
    if (parser.isSet(help) || args.isEmpty()) {
        std::fputs(kUsage, parser.isSet(help) ? stdout : stderr);
        return parser.isSet(help) ? kExitOk : kExitUsage;
    }

    const QString command = args.takeFirst();
    Options o;
    o.files = args;
    o.json = parser.isSet(json);
    o.port = parser.value(port);
    o.trace = parser.value(trace);
    o.yes = parser.isSet(yes);
    if (parser.isSet(series)) {
        bool ok = false;
        o.series = parser.value(series).toInt(&ok);
        if (!ok || o.series < 1) {
            err_line(QStringLiteral("zr730-cli: --series needs a number of pagers (1 or more)"));
            return kExitUsage;
        }
    }
    if (parser.isSet(increment)) {
        for (const QString &which : parser.value(increment).split(QLatin1Char(','))) {
            if (which.trimmed() == QLatin1String("1st")) {
                o.increment1st = true;
            } else if (which.trimmed() == QLatin1String("2nd")) {
                o.increment2nd = true;
            } else {
                err_line(QStringLiteral("zr730-cli: --increment takes 1st, 2nd or 1st,2nd, not \"%1\"").arg(which));
                return kExitUsage;
            }
        }
        if (o.series == 0) {
            err_line(QStringLiteral("zr730-cli: --increment belongs to write --series N"));
            return kExitUsage;
        }
    }

    if (parser.isSet(capcode)) {
        bool ok = false;
        const qlonglong c = parser.value(capcode).toLongLong(&ok);
        if (!ok || c < 0 || c > 2097151) {
            err_line(QStringLiteral("zr730-cli: --capcode needs a capcode (0 … 2097151)"));
            return kExitUsage;
        }
        o.filter.capcode = quint32(c);
    }
    for (const auto &[option, date] : {std::pair{&from, &o.filter.from}, std::pair{&to, &o.filter.to}}) {
        if (!parser.isSet(*option)) continue;
        *date = QDate::fromString(parser.value(*option), Qt::ISODate);
        if (!date->isValid()) {
            err_line(QStringLiteral("zr730-cli: --%1 needs a date written YYYY-MM-DD").arg(option->names().first()));
            return kExitUsage;
        }
    }
    o.filter.station = parser.value(station);
    if (parser.isSet(outcome)) {
        o.filter.outcome = zr730::outcome_from_text(parser.value(outcome));
        if (!o.filter.outcome) {
            err_line(QStringLiteral("zr730-cli: --outcome \"%1\" is not an outcome the ledger records").arg(parser.value(outcome)));
            return kExitUsage;
        }
    }
    if (parser.isSet(planOption)) {
        // write takes the plan file; ledger the plan's name, which is its file name.
        o.plan = parser.value(planOption);
        o.filter.plan = QFileInfo(o.plan).fileName();
        if (o.filter.plan.isEmpty()) {
            err_line(QStringLiteral("zr730-cli: --plan needs a plan file (write) or a plan's name (ledger)"));
            return kExitUsage;
        }
    }
    if (parser.isSet(row)) {
        bool ok = false;
        o.row = parser.value(row).toInt(&ok);
        if (!ok || o.row < 1) {
            err_line(QStringLiteral("zr730-cli: --row needs a row number (1 is the first row below the header)"));
            return kExitUsage;
        }
    }
    o.rows = parser.value(rows);
    if (parser.isSet(page)) o.page = parser.value(page);
    o.output = parser.value(output);
    o.csv = parser.isSet(csv);
    if (parser.isSet(image)) o.imageId = parser.value(image);

    if (command == QLatin1String("info")) return info(o);
    if (command == QLatin1String("ledger")) return ledger(o);
    if (command == QLatin1String("diff")) return diff(o);
    if (command == QLatin1String("plan")) return plan(o);
    if (command == QLatin1String("labels")) return labels(o);
    if (command == QLatin1String("read") || command == QLatin1String("write") || command == QLatin1String("verify"))
        return board(command, o);
    err_line(QStringLiteral("zr730-cli: unknown command \"%1\" (info, diff, read, write, verify, ledger, plan, labels)").arg(command));
    return kExitUsage;
}
