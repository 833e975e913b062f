#pragma once
// The editor's memory map: every descriptor-bound control of the main window, one line each.
#include <span>
#include <string_view>
#include <vector>

namespace zr730 {

enum class MapPage { Code, Alerts };

struct MapEntry {
    std::string_view descriptor;   // exact tag form, "&H39,2,1,cbo"
    std::string_view control;      // objectName of the bound control, "cboCtl(0)"
    std::string_view caption;      // check-box caption; empty for lists
    std::vector<std::string_view> entries; // list entries; empty for check boxes
    std::string_view label;        // label beside the control, or frame it sits in
    MapPage page;
};

// All 31 bound controls, in the window's control order.
std::span<const MapEntry> memory_map();

const MapEntry *map_entry(std::string_view control);

} // namespace zr730
