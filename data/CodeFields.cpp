#include "CodeFields.h"

#include <QHash>

namespace {

const QHash<QString, int> &lengths()
{
    static const QHash<QString, int> table = [] {
        QHash<QString, int> t;
        const auto add = [&t](int length, std::initializer_list<const char *> fields) {
            for (const char *f : fields)
                t.insert(QString::fromLatin1(f), length);
        };
        // Prefix, year and month, four-digit serial: "RS2026120001".
        add(12, {"carin_no", "carout_no", "paccountid", "caccountid", "serviceid", "presentid",
                 "addcostid"});
        // The paper contract's number as the partners wrote it, as long as an
        // invoice number: "CG-2026-000123456789". The ledgers keep it under the
        // name of the contract's own number, which is shorter but shares the room.
        add(20, {"contract_no", "buycontract_no", "salecontract_no", "salecont", "buycont_no",
                 "salecont_no"});
        // A car is known by its VIN; its serial, chassis and engine numbers
        // are as long. A car charge's voucher is the car's serial.
        add(17, {"carserial_no", "serial_no", "carinfor_serial_no", "vin_no", "chassis_no",
                 "engine_no", "certificate_no", "pzhh"});
        add(18, {"customs_no", "qualifier_no", "commodity_no"});
        // Fully digital invoices have 20 digits.
        add(20, {"invoice_no", "buyinvoice_no", "saleinvoice_no"});
        add(10, {"customerid", "providerid", "personnelid"});
        add(13, {"phone", "fax"}); // "0431-85000001"
        add(6, {"zip"});
        add(18, {"legalpersonid", "idcard_no", "taxid", "taxcode"});
        add(19, {"accountid", "bankacc"});
        add(10, {"contract_date", "arrive_date", "bodcontract", "eodcontract", "instock_date",
                 "outstock_date", "factory_date", "account_date", "check_date", "in_date",
                 "register_date", "birth", "hiredate", "date1"});
        return t;
    }();
    return table;
}

} // namespace

namespace CodeFields {

int length(const QString &field)
{
    const qsizetype dot = field.lastIndexOf(QLatin1Char('.'));
    return lengths().value((dot >= 0 ? field.mid(dot + 1) : field).toLower(), 0);
}

} // namespace CodeFields
