#pragma once

#include "GridColumns.h"
#include "Register.h"

#include <QString>

class DataSet;

// How a customer or provider register stores a row: the code in capitals,
// and the registration date and time of now when the row comes without one.
// Installed as the table's beforePost, after whatever check the table already
// runs.
void storePartnerRowsAsRegistered(DataSet *table, const QString &codeField);

// A customer's or provider's fields on its register's entry page.
QList<RegisterField> partnerFields(const char *codeField, const char *nameField);
// The columns that list customers or providers in their register and picker.
GridColumns partnerColumns(const char *codeTitle, const char *codeField, const char *nameTitle,
                           const char *nameField);
// What a customer and a provider register share; each sets the rest.
RegisterInfo partnerRegister(const char *table, const char *codeTitle, const char *codeField,
                             const char *nameTitle, const char *nameField);
