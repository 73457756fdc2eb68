// A text picture of a view tree, for a command line and for tests: one
// line per view, indented two spaces per level below root, children in
// order. Each line holds the view's kind (the Interface Kit class it is
// or derives from: BTextControl, BCheckBox, BControl, BTextView, BView),
// its name in quotes, its frame as (left, top, right, bottom) in its
// parent's coordinates, and then
// - for a text control: label "...", text "...", enabled or disabled;
// - for another control: label "...", value N, enabled or disabled;
// - for a text view: text "...".
// Texts are quoted with \", \\ and \n, \t or \xHH escapes, so a line never
// breaks. For example:
//
//   BView "Config" (0, 0, 224, 77)
//     BTextControl "Name" (0, 0, 224, 23) label "Database name:" text "" enabled
//       BTextView "_input_" (108, 4, 220, 19) text ""
//     BCheckBox "Compression" (0, 23, 97, 41) label "Compression" value 1 enabled
//
// Read a view in a window with the window locked.
#ifndef _VIEW_DUMP_H
#define _VIEW_DUMP_H

#include <string>

class BView;

namespace BPrivate {

std::string DumpViewTree(const BView *root);

} // namespace BPrivate

#endif // _VIEW_DUMP_H
