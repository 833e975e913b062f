#include "support/program_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "support/program_state.h"

namespace zr730 {

QString default_user_config_folder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(QStringLiteral("zr730"));
}

QString find_program_file(const ProgramState &state, const QString &name)
{
    for (const QString &folder : {state.application_folder, state.config_folder}) {
        if (folder.isEmpty()) continue;
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path)) return path;
    }
    return {};
}

QString user_file_folder(const ProgramState &state)
{
    const QFileInfo program(state.application_folder);
    if (state.config_folder.isEmpty() || (program.isDir() && program.isWritable())) return state.application_folder;
    QDir().mkpath(state.config_folder);
    return state.config_folder;
}

} // namespace zr730
