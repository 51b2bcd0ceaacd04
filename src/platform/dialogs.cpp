#include "platform/dialogs.h"

Dialogs::Answer safeAnswer(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return Dialogs::Answer::Ok;
    case Dialogs::Buttons::YesNo:
        return Dialogs::Answer::No;
    case Dialogs::Buttons::OkCancel:
    case Dialogs::Buttons::YesNoCancel:
        return Dialogs::Answer::Cancel;
    }
    return Dialogs::Answer::Cancel;
}
