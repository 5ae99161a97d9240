// The --print-tree run: the catalogue of the stored settings read by the real main window,
// offscreen, and its album tree and totals printed. It lets a script check an installed
// program end to end by what the program itself read, with no window to look at and no
// waiting: the reading runs to its end before anything is printed.
#pragma once

#include <ostream>

// Reads the album tree of the created windows' settings and prints every category with its
// albums indented below it, then the tree's two totals (album count, total play time), each
// text in UTF-8 as the windows show it.
void PrintAlbumTree(std::ostream& out);

// Readies a run that shows nothing: message boxes are written to stderr and answered as their
// default button would be, modal windows are cancelled at once, and tray icons stay out of
// the notification area.
void ShowNothing();

// The whole run, from the command line to the exit code: 0 when the tree was read and
// printed, 1 when the windows could not be created or the reading failed. It needs no
// display: the offscreen platform is used unless the command line names another with
// -platform.
int RunPrintTree(int& argc, char** argv);
