#pragma once

// The numbers of the window framework. Each keeps the number it has where it crosses a boundary:
// start parameters ("Mode"), the menu file's commands and the data-changed messages.

// The kinds of data window and what a window is doing.
enum class FormType : int { Record = 1, Search = 2, Other = 3 };
enum class FormMode : int { Add = 1, Edit = 2, SearchList = 4, Pick = 5 };
// The numbers of the main window's commands, passed to the active window.
enum class MainCommand : int {
    TabDelimited = 1,
    Excel = 2,
    XML = 3,
    ADTG = 4,
    New = 5,
    Edit = 6,
    Save = 7,
    Delete = 8,
    Print = 9,
    Preview = 10,
};
enum class DataChangedAction : int { Added = 1, Updated = 2, Deleted = 3 };
