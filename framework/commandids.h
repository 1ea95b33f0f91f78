#pragma once

// Command ids, as the menus send them.
namespace cmd {

enum : int {
    // File
    New = 32793,
    Open = 57601,
    Save = 57603,
    SaveAsMinute = 57604,
    SaveAsTemplate = 32798,
    Exit = 32829,
    FileNew = 57600, // the framework's new document; no menu entry

    // Edit
    Undo = 57643,
    Cut = 57635,
    Copy = 57634,
    Paste = 57637,
    Replace = 57641,
    Find = 57636,
    FindNext = 32775,
    ReplaceNext = 32790,

    // Agenda
    ItemCatalogue = 32796,
    Expand = 32787,
    ExpandAll = 32777,
    CollapseAll = 32810,
    ExpandBranch = 32813,
    CollapseBranch = 32812,
    InsertItem = 32779,
    InsertSubItem = 32782,
    DeleteItem = 32783,

    // Tools
    ExportHtml = 32791,
    ExportNote = 32797,
    ExportRtf = 32799,
    ExportText = 32788,
    ExportClipboard = 32794,
    Completion = 32792,
    ContactsShow = 32823,
    ContactsSpecify = 32827,
    DatesCalendar = 32819,
    DatesSpecify = 32821,
    BeamMinute = 32801,
    BeamHtml = 32804,
    BeamNote = 32805,
    BeamRtf = 32806,
    BeamText = 32807,
    ExportMarkdown = 32833,
    BeamMarkdown = 32834,
    ExportPdf = 32835,
    ExportOpml = 32836,
    BeamPdf = 32837,
    BeamOpml = 32838,
    Print = 32839,
    PrintPreview = 32840,
    ImportOpml = 32841,
    Options = 32774,
    About = 57664,

    // View modes
    ViewBoth = 32824,
    ViewTree = 32825,
    ViewText = 32826,
    ViewSideBySide = 32830,
    ViewCommandBar = 32831,
    RecentMinutes = 32832, // the submenu of minutes last opened or saved

    Help = 57670,
};

} // namespace cmd
