#include "catalogue/MemoryProfileControls.h"

#include "catalogue/FixedCombos.h"
#include "catalogue/OutputFormat.h"

namespace tavrin {

TMemoryProfileControls::TMemoryProfileControls()
{
    FillOutputFormatCombo(OutputFormat);
    FillFixedCombos(Controls);
}

}  // namespace tavrin
