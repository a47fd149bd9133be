#include "ContractChoice.h"
#include "Uselesalecont.h"

ContractChoice saleContractPicker(ContractScope scope)
{
    return [scope](QWidget *owner) { return pickContract<Tfselesalecont>(owner, scope); };
}
