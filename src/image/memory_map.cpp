#include "image/memory_map.h"

namespace zr730 {

namespace {
using E = std::vector<std::string_view>;
const E kDisplayEntries{"STD Numeric", "PRC Numeric", "Alpha", "Ideo"};

const std::vector<MapEntry> &table()
{
    static const std::vector<MapEntry> t{
        {"&H39,2,1,cbo", "cboCtl(0)", "", {"NB", "WB"}, "Bandwidth", MapPage::Code},
        {"&H375,4,2,cboBaud", "cboCtl(9)", "", {"2400 bps", " 512 bps", "1200 bps"}, "POCSAG Signal Baud Rate", MapPage::Code},
        {"&H360,7,1,chk", "chkCtl(10)", "ON", {}, "Cap #1", MapPage::Code},
        {"&H363,7,1,chk", "chkCtl(11)", "ON", {}, "Cap #2", MapPage::Code},
        {"&H366,7,1,chk", "chkCtl(12)", "ON", {}, "Cap #3", MapPage::Code},
        {"&H369,7,1,chk", "chkCtl(13)", "ON", {}, "Cap #4", MapPage::Code},
        {"&H36C,7,1,chk", "chkCtl(14)", "ON", {}, "Cap #5", MapPage::Code},
        {"&H36F,7,1,chk", "chkCtl(15)", "ON", {}, "Cap #6", MapPage::Code},
        {"&H35,4,4,cbo", "cboCtl(1)", "", kDisplayEntries, "Display:", MapPage::Code},
        {"&H35,0,4,cbo", "cboCtl(7)", "", kDisplayEntries, "Display:", MapPage::Code},
        {"&H38F,1,1,chk", "chkCtl(8)", "Priority  ", {}, "Cap #5", MapPage::Code},
        {"&H38F,2,1,chk", "chkCtl(9)", "Priority  ", {}, "Cap #6", MapPage::Code},
        {"&H3A,5,1,chk", "chkCtl(22)", "Vibration And Beep", {}, "", MapPage::Alerts},
        {"&H39,3,1,chkN", "chkCtl(21)", "Duplicate Msg Enable", {}, "", MapPage::Alerts},
        {"&H39,6,1,chk", "chkCtl(6)", "Lowcell Alert Enable", {}, "", MapPage::Alerts},
        {"&H3B,2,1,chk", "chkCtl(1)", "Long Message Control", {}, "", MapPage::Alerts},
        {"&H39,7,1,chkN", "chkCtl(0)", "Display Source Enable", {}, "", MapPage::Alerts},
        {"&H3B,7,1,chk", "chkCtl(17)", "Manual Alert Override", {}, "", MapPage::Alerts},
        {"&H36,3,1,chk", "chkCtl(20)", "Direct Show Lamp On", {}, "", MapPage::Alerts},
        {"&H3B,4,1,cbo", "cboCtl(3)", "", {"Page Count", "Direct"}, "Paging Disp Mode", MapPage::Alerts},
        {"&H39,4,1,chkN", "chkCtl(2)", "Counter Out Enable", {}, "", MapPage::Alerts},
        {"&H3C,6,2,cbo", "cboCtl(4)", "", {"Disable", "2 minutes", "10 minutes", "60 minutes"}, "Reminder Duration Control", MapPage::Alerts},
        {"&H3B,5,1,chk", "chkCtl(19)", "Air Program Enable", {}, "", MapPage::Alerts},
        {"&H374,7,1,cbo", "cboCtl(5)", "", {"Normal", "Invert"}, "Pager Signal Polarity", MapPage::Alerts},
        {"&H39,5,1,chkN", "chkCtl(18)", "Discard Error Message", {}, "", MapPage::Alerts},
        {"&H3B,6,1,chk", "chkCtl(7)", "Password Modification Enable ", {}, "Manual Write", MapPage::Alerts},
        {"&H36,0,1,chkN", "chkCtl(4)", "Frequency Modification Enable", {}, "Manual Write", MapPage::Alerts},
        {"&H36,1,1,chk", "chkCtl(5)", "Password Required Enable", {}, "Manual Write", MapPage::Alerts},
        {"&H3D,4,1,chkN", "chkCtl(16)", "Manual Write Enable", {}, "Manual Write", MapPage::Alerts},
        {"&H3B,3,1,cbo", "cboCtl(6)", "", {"dd-mm-yy", "mm-dd-yy"}, "Date Display Method", MapPage::Alerts},
        {"&H3F,0,4,Lng", "cboLogo", "", {"Large Font", "Small Font"}, "Logo Font", MapPage::Alerts},
    };
    return t;
}
} // namespace

std::span<const MapEntry> memory_map() { return table(); }

const MapEntry *map_entry(std::string_view control)
{
    for (const auto &e : table())
        if (e.control == control) return &e;
    return nullptr;
}

} // namespace zr730
