// The file-type filter of the dialog that adds source files.
#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// Description and pattern-list pairs, all joined by "|", with a final "|".
std::string SourceFileFilter();

// The same filter in the form Qt's file dialog takes: one "Description (*.a *.b)" entry
// per pair, entries separated by ";;". A parenthesised list that ends a description is
// replaced by the pair's patterns.
std::string ToQtFileDialogFilter(std::string_view filter);

}  // namespace tavrin
