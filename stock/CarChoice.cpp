#include "CarChoice.h"
#include "Uselecar.h"

CarChoice carPicker(const CarList &scope)
{
    return [scope](QWidget *owner) -> std::optional<QString> {
        const std::optional<QSqlRecord> car = pickCar(owner, scope);
        if (!car)
            return std::nullopt;
        return car->value(QStringLiteral("carserial_no")).toString();
    };
}
