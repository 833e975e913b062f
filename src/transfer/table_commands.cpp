#include "transfer/table_commands.h"

#include <QDir>
#include <QFileInfo>

#include "support/program_paths.h"
#include "support/texts.h"
#include "transfer/table_file.h"

namespace zr730 {

TableFileHost::~TableFileHost() = default;

namespace {

// Lowers use_current_path again however the procedure ends.
class CurrentPathRaised {
public:
    explicit CurrentPathRaised(ProgramState &state) : m_state(state) { m_state.use_current_path = true; }
    ~CurrentPathRaised() { m_state.use_current_path = false; }
    CurrentPathRaised(const CurrentPathRaised &) = delete;
    CurrentPathRaised &operator=(const CurrentPathRaised &) = delete;

private:
    ProgramState &m_state;
};

const QString filter() { return QString::fromLatin1(text::kTableFilter); }

} // namespace

QString default_table_path(const ProgramState &state)
{
    const QString name = QString::fromLatin1(text::kDefaultTableName);
    const QString existing = find_program_file(state, name);
    return existing.isEmpty() ? QDir(user_file_folder(state)).filePath(name) : existing;
}

QString current_table_path(ProgramState &state)
{
    if (state.current_table_path.isEmpty()) state.current_table_path = default_table_path(state);
    return state.current_table_path;
}

bool open_table(ProgramState &state, TableFileHost &host)
{
    QString path;
    if (!state.use_current_path) {
        if (!state.files) return false;
        const QString chosen = state.files->openFile(user_file_folder(state), filter());
        if (chosen.isEmpty()) return false; // cancelled
        if (!QFileInfo::exists(chosen)) {
            state.messages.show(QString::fromLatin1(text::kFileNotExist), MsgIcon::None);
            return false;
        }
        path = chosen;
    } else {
        path = current_table_path(state);
    }

    const TableReadResult read = read_table_file(path);
    switch (read.status) {
    case TableReadResult::Status::CannotOpen:
        return false;
    case TableReadResult::Status::WrongModel:
        state.messages.show(QString::fromLatin1(text::kNotCorrectFormatHead) + path
                                + QString::fromLatin1(text::kNotCorrectFormatTail),
                            MsgIcon::None);
        return false;
    case TableReadResult::Status::Ok:
        break;
    }

    // Only a file that was taken becomes the current table file: File ▸ Save must never
    // overwrite a file that was refused.
    state.current_table_path = path;
    state.image.bytes() = read.bytes;
    host.select_band_from_image();
    host.show_path_in_title(path);
    return true;
}

bool save_table_as(ProgramState &state, TableFileHost &host)
{
    if (!state.use_current_path) {
        if (!state.files) return false;
        const QString chosen = state.files->saveFile(user_file_folder(state), filter());
        if (chosen.isEmpty()) return false; // cancelled
        if (QFileInfo::exists(chosen)
            && state.messages.show(QString::fromLatin1(text::kOverwriteFile), MsgIcon::None, MsgButtons::YesNo)
                   != MsgAnswer::Yes)
            return false;
        state.current_table_path = chosen;
    }
    const QString path = current_table_path(state);

    const TableSaveResult saved = save_table_file(path, state.image);
    if (!saved.ok) {
        state.messages.show(QString::fromLatin1(text::kSaveFailedHead) + QDir::toNativeSeparators(path)
                                + QString::fromLatin1(text::kSaveFailedMiddle) + saved.reason
                                + QString::fromLatin1(text::kSaveFailedTail),
                            MsgIcon::None);
        return false;
    }
    host.show_path_in_title(path);
    return true;
}

bool save_table(ProgramState &state, TableFileHost &host)
{
    CurrentPathRaised raised(state);
    return save_table_as(state, host);
}

bool open_default_table(ProgramState &state, TableFileHost &host)
{
    if (state.current_table_path.isEmpty()) state.current_table_path = default_table_path(state);
    if (!QFileInfo::exists(state.current_table_path)) return false;
    CurrentPathRaised raised(state);
    return open_table(state, host);
}

} // namespace zr730
