#include "ContractChoice.h"

ContractChoice saleContractPicker(bool)
{
    // The sales contract picker joins here once it is built; until then no
    // contract is offered and its number is typed.
    return [](QWidget *) { return std::optional<ChosenContract>(); };
}
