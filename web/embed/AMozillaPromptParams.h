// The record that carries one prompt of the web runtime into the program's
// prompt dialog and the reader's answer back. Empty texts keep the dialog's own.
#pragma once

#include "base/object/AString.h"

#include <cstdint>

struct AMozillaPromptParams {
    AString title;          // empty keeps "JavaScript"
    AString text;           // the message
    AString userLabel;      // empty keeps "Nom:"
    AString value;          // the text field (a value or a user name); in and out
    AString passwordLabel;  // empty keeps "Mot de Passe:"
    AString password;       // the password field; in and out
    AString checkLabel;     // empty keeps "Se souvenir du nom et du mot de passe"
    AString button0Label;   // empty keeps "OK"
    AString button1Label;   // empty keeps "Annuler"
    AString button2Label;
    int16_t checkBoxOn = 0;  // the check box on return
    int16_t showUserLabel = 0;
    int16_t showValue = 0;
    int16_t showPassword = 0;
    int16_t showCheck = 0;
    int16_t showButton0 = 1;
    int16_t showButton1 = 0;
    int16_t showButton2 = 0;
};
