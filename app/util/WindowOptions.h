// What the options dialog sets for the window's parts.
#pragma once

namespace tavrin {

struct TWindowOptions {
    bool Overwrite = false;
    int DropDownItems = 26;
    int SimultaneousConversions = 1;  // rows the batch may convert at once
};

}  // namespace tavrin
