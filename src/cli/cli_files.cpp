// info and diff: table files in words, and field by field.
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/cli_commands.h"
#include "cli/cli_files.h"
#include "cli/cli_terminal.h"
#include "image/capcodes.h"
#include "image/field_catalogue.h"
#include "image/pll.h"
#include "support/program_paths.h"
#include "support/program_state.h"
#include "support/settings.h"
#include "support/texts.h"
#include "transfer/table_file.h"

namespace zr730::cli {

namespace {

QString q(const std::string &s) { return QString::fromStdString(s); }

QString value_of(const PagerImage &image, const std::string &name)
{
    const CatalogueField *f = catalogue_field(name);
    return f ? q(field_value(*f, image)) : QString();
}

QString band_text(const PagerImage &image)
{
    const auto band = band_of_image(image);
    return band ? QString::fromLatin1(kBandEntries[std::size_t(*band)].data()) : QStringLiteral("unknown");
}

// 15300000 (10 Hz) → "153.00000 MHz".
QString megahertz(long long f)
{
    return QStringLiteral("%1.%2 MHz").arg(f / 100000).arg(f % 100000, 5, 10, QLatin1Char('0'));
}

// Function bits of capcode n: four (A … D) for #1 … #4, one setting for #5 and #6.
QJsonArray function_bits(const PagerImage &image, int n)
{
    QJsonArray bits;
    const QString cap = QStringLiteral("Capcode #%1").arg(n);
    if (n >= 5) {
        bits.append(QJsonObject{{"bit", "all"},
                                {"type", value_of(image, (cap + QStringLiteral(" message type")).toStdString())},
                                {"display", value_of(image, (cap + QStringLiteral(" display")).toStdString())},
                                {"priority", value_of(image, (cap + QStringLiteral(" priority")).toStdString()) == "on"},
                                {"enabled", true}});
        return bits;
    }
    for (const char *letter : {"A", "B", "C", "D"}) {
        const std::string base = (cap + QStringLiteral(" function bit ") + QLatin1String(letter)).toStdString();
        bits.append(QJsonObject{{"bit", letter},
                                {"type", value_of(image, base + " message type")},
                                {"display", value_of(image, base + " display")},
                                {"priority", value_of(image, base + " priority") == "on"},
                                {"enabled", value_of(image, base + " enable") == "on"}});
    }
    return bits;
}

} // namespace

void load_installation(ProgramState &state)
{
    state.application_folder = QCoreApplication::applicationDirPath();
    state.config_folder = default_user_config_folder();
    const auto loaded = load_settings(find_program_file(state, QString::fromLatin1(kSettingsFileName)));
    for (const QString &problem : loaded.problems) err_line(QStringLiteral("zr730-cli: settings: ") + problem);
    state.settings = loaded.settings;
}

std::optional<PagerImage> load_table(const QString &path, int &status)
{
    if (!QFileInfo(path).isFile()) {
        err_line(QStringLiteral("%1: %2").arg(path, QString::fromLatin1(text::kFileNotExist)));
        status = kExitFile;
        return std::nullopt;
    }
    const TableReadResult read = read_table_file(path);
    if (read.status == TableReadResult::Status::CannotOpen) {
        err_line(QStringLiteral("%1: cannot be read").arg(path));
        status = kExitFile;
        return std::nullopt;
    }
    if (read.status == TableReadResult::Status::WrongModel) {
        err_line(QString::fromLatin1(text::kNotCorrectFormatHead) + path + QString::fromLatin1(text::kNotCorrectFormatTail));
        status = kExitFile;
        return std::nullopt;
    }
    PagerImage image;
    image.bytes() = read.bytes;
    return image;
}

QJsonObject describe(const PagerImage &image)
{
    QJsonArray capcodes;
    for (int i = 0; i < kCapcodeCount; ++i)
        capcodes.append(QJsonObject{{"number", i + 1},
                                    {"capcode", qint64(capcode_get(image, i))},
                                    {"enabled", capcode_enabled(image, i)},
                                    {"functionBits", function_bits(image, i + 1)}});
    QJsonArray fields;
    for (const CatalogueField &f : field_catalogue()) {
        if (f.reserved) continue;
        fields.append(QJsonObject{{"name", q(f.name)},
                                  {"place", q(field_place(f))},
                                  {"address", f.address},
                                  {"value", q(field_value(f, image))}});
    }
    const long long f = frequency_of_image(image);
    return QJsonObject{{"band", band_text(image)},
                       {"frequency", qint64(f)},
                       {"frequencyMHz", megahertz(f)},
                       {"spacing", value_of(image, "Channel spacing")},
                       {"capcodes", capcodes},
                       {"fields", fields}};
}

int info(const Options &o)
{
    if (o.files.size() != 1) {
        err_line(QStringLiteral("zr730-cli info: give one table file"));
        return kExitUsage;
    }
    int status = kExitOk;
    const auto image = load_table(o.files[0], status);
    if (!image) return status;
    QJsonObject d = describe(*image);
    d.insert("file", o.files[0]);
    if (o.json) {
        out_line(QString::fromUtf8(QJsonDocument(d).toJson(QJsonDocument::Indented)).trimmed());
        return kExitOk;
    }
    out_line(QStringLiteral("File:       %1").arg(o.files[0]));
    out_line(QStringLiteral("Identity:   %1").arg(value_of(*image, "Identity")));
    out_line(QStringLiteral("Band:       %1").arg(d["band"].toString()));
    out_line(QStringLiteral("Frequency:  %1").arg(d["frequencyMHz"].toString()));
    out_line(QStringLiteral("Spacing:    %1").arg(d["spacing"].toString()));
    out_line(QStringLiteral("Capcodes:"));
    for (const QJsonValue &c : d["capcodes"].toArray()) {
        const QJsonObject cap = c.toObject();
        QStringList bits;
        for (const QJsonValue &b : cap["functionBits"].toArray()) {
            const QJsonObject fb = b.toObject();
            if (!fb["enabled"].toBool()) {
                bits << fb["bit"].toString() + QStringLiteral(": off");
                continue;
            }
            bits << QStringLiteral("%1: %2, %3%4")
                        .arg(fb["bit"].toString(), fb["type"].toString(), fb["display"].toString(),
                             fb["priority"].toBool() ? QStringLiteral(", priority") : QString());
        }
        out_line(QStringLiteral("  #%1 %2 %3  %4")
                     .arg(cap["number"].toInt())
                     .arg(q(capcode_text(std::uint32_t(cap["capcode"].toInteger()))))
                     .arg(cap["enabled"].toBool() ? QStringLiteral("on ") : QStringLiteral("off"))
                     .arg(bits.join(QStringLiteral("; "))));
    }
    out_line(QStringLiteral("Fields:"));
    for (const QJsonValue &v : d["fields"].toArray()) {
        const QJsonObject f = v.toObject();
        out_line(QStringLiteral("  %1 %2").arg(f["name"].toString() + QLatin1Char(':'), -44).arg(f["value"].toString()));
    }
    return kExitOk;
}

int diff(const Options &o)
{
    if (o.files.size() != 2) {
        err_line(QStringLiteral("zr730-cli diff: give two table files"));
        return kExitUsage;
    }
    int status = kExitOk;
    const auto a = load_table(o.files[0], status);
    if (!a) return status;
    const auto b = load_table(o.files[1], status);
    if (!b) return status;
    const auto differences = field_differences(*a, *b);
    if (differences.empty()) return kExitOk;
    out_line(QStringLiteral("A: %1\nB: %2").arg(o.files[0], o.files[1]));
    std::fputs(differences_report(differences, "A", "B", differences.size()).c_str(), stdout);
    return kExitDifferent;
}

} // namespace zr730::cli
