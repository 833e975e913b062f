#pragma once
// Where the program's own files are: "default.tbl" and the settings file are looked for next to
// the program first and then in the user's configuration folder, so an installed program (whose
// folder the user may not write) works the same as one run from its build folder.
#include <QString>

namespace zr730 {

struct ProgramState;

// $XDG_CONFIG_HOME/zr730 (usually ~/.config/zr730).
QString default_user_config_folder();

// The existing file `name` next to the program, else in the user's configuration folder;
// empty when neither exists.
QString find_program_file(const ProgramState &state, const QString &name);

// Where the user's own files go: the program folder when the user may write it, else the
// user's configuration folder (made when missing).
QString user_file_folder(const ProgramState &state);

} // namespace zr730
