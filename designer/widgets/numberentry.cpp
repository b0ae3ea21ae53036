#include "designer/widgets/numberentry.h"

#include "platform/rtl/exceptions.h"
#include "platform/ui/messages.h"
#include "report/utils/numbers.h"

bool kvlReadNumber(const QString &Text, double &Value)
{
    try {
        Value = kvlStrToFloat(Text);
        return true;
    } catch (const EConvertError &e) {
        ui::ShowErrorMessage(QString::fromLatin1(e.className()), e.message());
        return false;
    }
}
