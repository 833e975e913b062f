#pragma once
// The program-wide state: one object created by main() and handed to the windows by reference.
#include <QString>

#include <cstdint>
#include <vector>

#include "image/image.h"
#include "platform/port_table.h"
#include "support/messages.h"
#include "support/settings.h"

namespace zr730 {

// The build's link to the programmer board.
enum class LinkSelector { Usb, Lpt };
inline constexpr LinkSelector kBuildLink = LinkSelector::Usb;

struct ProgramState {
    explicit ProgramState(MessageService &msg, FileDialogService *dialogs = nullptr)
        : messages(msg), files(dialogs)
    {}

    PagerImage image;
    // Filled by a link read; re-dimensioned to 0..stop by every read.
    std::vector<std::uint8_t> read_buffer;

    // Flags shared by the editors and loaders.
    bool controls_loading = false;
    bool frequency_rejected = false;
    bool loaded_image_refresh = false;
    bool window_ready = false;
    // Raised when the main window closes: the program is ending and says nothing more.
    bool program_ending = false;

    // Band and synthesizer state.
    int MUTL = 2;
    float channel_spacing_khz = 12.5f;
    int channel_choice_100_200 = 0;
    int channel_choice_400_499 = 1;

    // Capcodes
    bool auto_increase_1st = false;
    bool auto_increase_2nd = false;
    int func_set_index = 0;

    // Transfers
    int transfer_mode = 0;   // 0 Read, 1 Write, 2 Verify
    int transfer_result = 0; // 0: the last step succeeded, -1: it failed or the user refused
    LinkSelector link = kBuildLink;

    // Table files
    QString application_folder;
    // The user's configuration folder (second place for "default.tbl" and the settings file);
    // empty when only the program folder counts.
    QString config_folder;
    QString current_table_path;
    bool use_current_path = false;

    InstallationSettings settings;
    PortTable ports; // COMn → device path, shared by the registry view and the serial layer

    MessageService &messages;
    FileDialogService *files;
};

} // namespace zr730
