#include "MemoryProfileControls.h"

#include "FixedCombos.h"
#include "OutputFormat.h"

namespace tavrin {

TMemoryProfileControls::TMemoryProfileControls()
{
    FillOutputFormatCombo(OutputFormat);
    FillFixedCombos(Controls);
}

}  // namespace tavrin
