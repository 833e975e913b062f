#pragma once
// The File menu procedures Open, Save As and Save, and start-up's silent "default.tbl".
// They work on the program state and ask the window only for the two things it owns.
#include <QString>

#include "support/program_state.h"

namespace zr730 {

// What the table-file procedures need from the main window.
class TableFileHost {
public:
    virtual ~TableFileHost();
    // Band list from the newly loaded image without band defaults, then the redraw with
    // loaded_image_refresh raised.
    virtual void select_band_from_image() = 0;
    // "… - [path]" in the window title.
    virtual void show_path_in_title(const QString &path) = 0;
};

// The program folder's "default.tbl".
QString default_table_path(const ProgramState &state);
// The current table path; its initial value is the program folder's "default.tbl".
QString current_table_path(ProgramState &state);

// File ▸ Open. True when the image was replaced.
bool open_table(ProgramState &state, TableFileHost &host);
// File ▸ Save As... True when the file was written.
bool save_table_as(ProgramState &state, TableFileHost &host);
// File ▸ Save: the current table path, without any question.
bool save_table(ProgramState &state, TableFileHost &host);
// Start-up: opens "default.tbl" silently when it exists. True when the image was replaced.
bool open_default_table(ProgramState &state, TableFileHost &host);

} // namespace zr730
