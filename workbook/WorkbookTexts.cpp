#include "workbook/WorkbookTexts.h"

#include "common/Lang.h"

#include <array>
#include <vector>

namespace tapwise {

namespace {

// In the order of WorkbookMessage.
constexpr std::array<BilingualText, 36> Texts{{
    {"'%1' could not be found. Check the spelling of the file name and verify that the file "
     "location is correct.",
     "Impossibile trovare '%1'. Controllare il nome del file e verificare che il percorso sia "
     "corretto."},
    {"'%1' cannot be read: %2", "Impossibile leggere '%1': %2"},
    {"'%1' cannot be opened because the file format or file extension is not valid: it is not "
     "an Excel workbook (.xlsx, .xlsm).",
     "Impossibile aprire '%1' perché il formato o l'estensione del file non è valido: non è una "
     "cartella di lavoro Excel (.xlsx, .xlsm)."},
    {"'%1' is in the old Excel format (.xls), which cannot be opened: save it as an Excel "
     "workbook (.xlsx) first.",
     "'%1' è nel vecchio formato Excel (.xls), che non può essere aperto: salvarlo prima come "
     "cartella di lavoro Excel (.xlsx)."},
    {"'%1' is damaged and cannot be opened: %2", "'%1' è danneggiato e non può essere aperto: %2"},
    {"the part %1 is missing", "manca la parte %1"},
    {"the part %1 cannot be unpacked (%2)", "la parte %1 non può essere estratta (%2)"},
    {"the part %1 is not valid XML (%2, at byte %3)",
     "la parte %1 non è un XML valido (%2, al byte %3)"},
    {"it holds no workbook part", "non contiene la parte della cartella di lavoro"},
    {"the workbook has no sheets", "la cartella di lavoro non ha fogli"},
    {"The active sheet of '%1' is not a worksheet: activate a worksheet and save the workbook.",
     "Il foglio attivo di '%1' non è un foglio di lavoro: attivare un foglio di lavoro e "
     "salvare la cartella."},
    {"cell %1 refers to shared string %2, which does not exist",
     "la cella %1 rimanda alla stringa condivisa %2, che non esiste"},
    {"'%1' is too large to be opened (part %2).",
     "'%1' è troppo grande per essere aperto (parte %2)."},
    {"'%1' is open in a spreadsheet program (lock file '%2'): close it there and run again. "
     "The workbook was not changed.",
     "'%1' è aperto in un programma di fogli di calcolo (file di blocco '%2'): chiuderlo e "
     "ripetere. La cartella di lavoro non è stata modificata."},
    {"'%1' was opened read-only and cannot be saved.",
     "'%1' è stato aperto in sola lettura e non può essere salvato."},
    {"'%1' is read-only and cannot be saved.", "'%1' è di sola lettura e non può essere salvato."},
    {"'%1' was changed by another program after it was opened, or removed: it was not "
     "overwritten and the changes of this run were not saved.",
     "'%1' è stato modificato da un altro programma dopo l'apertura, o rimosso: non è stato "
     "sovrascritto e le modifiche di questa esecuzione non sono state salvate."},
    {"'%1' could not be saved: %2. The workbook on disk was left as it was.",
     "Impossibile salvare '%1': %2. La cartella di lavoro sul disco non è stata modificata."},
    {"The workbook is closed.", "La cartella di lavoro è chiusa."},
    {"Cell (%1, %2) is outside the sheet.", "La cella (%1, %2) è fuori dal foglio."},
    {"%1 is not a colour index (1 to 56, or -4142 for no colour).",
     "%1 non è un indice di colore (da 1 a 56, o -4142 per nessun colore)."},
    {"Cell %1 cannot hold %2 characters: a cell holds at most 32767.",
     "La cella %1 non può contenere %2 caratteri: una cella ne contiene al massimo 32767."},
    {"Cell %1 is part of an array formula or a data table and cannot be changed alone.",
     "La cella %1 fa parte di una formula matrice o di una tabella dati e non può essere "
     "modificata da sola."},
    {"'%1' is read-only: the rows a run sends could not be coloured green and saved, so they "
     "would be typed again next time. Make the file writable and run again. Nothing was typed.",
     "'%1' è di sola lettura: le righe inviate non potrebbero essere colorate di verde e "
     "salvate, e sarebbero digitate di nuovo la volta successiva. Rendere il file scrivibile e "
     "ripetere. Non è stato digitato nulla."},
    {"'%1' cannot be saved: its folder '%2' does not allow new files, and a save writes the new "
     "workbook beside the old one. Use a workbook in a writable folder and run again. Nothing "
     "was typed.",
     "'%1' non può essere salvato: la sua cartella '%2' non consente nuovi file, e il "
     "salvataggio scrive la nuova cartella di lavoro accanto alla vecchia. Usare una cartella di "
     "lavoro in una cartella scrivibile e ripetere. Non è stato digitato nulla."},
    {"the part %1 nests its elements more than %2 levels deep, which no spreadsheet program "
     "writes",
     "la parte %1 annida i suoi elementi per più di %2 livelli, cosa che nessun programma di "
     "fogli di calcolo scrive"},
    {"the %1 part %2 is not a part of that kind", "la parte %1 %2 non è una parte di quel tipo"},
    {"'%1' cannot be opened: its part %2 would unpack to %3 MB from %4 KB, far more than any "
     "workbook holds for its size. The file is damaged or made to use up memory.",
     "Impossibile aprire '%1': la sua parte %2 si estrarrebbe in %3 MB da %4 KB, molto più di "
     "quanto una cartella di lavoro contenga per la sua dimensione. Il file è danneggiato o "
     "fatto per esaurire la memoria."},
    {"'%1' cannot be opened: its part %2 unpacks to %3 MB, which needs more memory than is "
     "free now (%4 MB). Close other programs and run again.",
     "Impossibile aprire '%1': la sua parte %2 si estrae in %3 MB, il che richiede più memoria "
     "di quella libera ora (%4 MB). Chiudere altri programmi e ripetere."},
    {"'%1' already exists and is not overwritten.", "'%1' esiste già e non viene sovrascritto."},
    {"The password you supplied for '%1' is not correct. Verify that the CAPS LOCK key is off "
     "and be sure to use the correct capitalization.",
     "La password fornita per '%1' non è corretta. Verificare che il tasto BLOC MAIUSC non sia "
     "attivo e di usare correttamente maiuscole e minuscole."},
    {"'%1' is protected by a password and no password was given, so the password is not "
     "correct. Write the password after a bar behind the workbook's name on the command line.",
     "'%1' è protetto da una password e non è stata data nessuna password, quindi la password "
     "non è corretta. Scrivere la password dopo una barra, dietro il nome della cartella di "
     "lavoro, nella riga di comando."},
    {"'%1' is encrypted in a way that cannot be opened (%2): save it again in the spreadsheet "
     "program with a password (Excel 2007 or later encryption) or without one.",
     "'%1' è crittografato in un modo che non può essere aperto (%2): salvarlo di nuovo nel "
     "programma di fogli di calcolo con una password (crittografia di Excel 2007 o successivo) "
     "o senza."},
    {"'%1' is protected with rights management (IRM), which cannot be opened: save a copy "
     "without that protection in the spreadsheet program and use that one.",
     "'%1' è protetto con la gestione dei diritti (IRM), che non può essere aperta: salvarne "
     "una copia senza questa protezione nel programma di fogli di calcolo e usare quella."},
    {"the encrypted package cannot be read (%1)",
     "il pacchetto crittografato non può essere letto (%1)"},
    {"it could not be encrypted (%1)", "non è stato possibile crittografarlo (%1)"},
}};

static_assert(Texts.size() == size_t(WorkbookMessage::EncryptionFailed) + 1,
              "one text for each message");

} // namespace

QString workbookText(WorkbookMessage message, const QString& lang,
                     std::initializer_list<QString> args) {
    // One pass, so that a file name holding "%2" stays as it is.
    const QString pattern = Texts.at(static_cast<size_t>(message)).in(lang);
    const std::vector<QString> values(args);
    QString text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const qsizetype slot = i + 1 < pattern.size() ? pattern[i + 1].digitValue() : -1;
        if (pattern[i] == u'%' && slot >= 1 && slot <= qsizetype(values.size())) {
            text += values[size_t(slot - 1)];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

Error workbookError(WorkbookMessage message, const QString& lang,
                    std::initializer_list<QString> args) {
    return Error{WorkbookErrorCode, workbookText(message, lang, args)};
}

} // namespace tapwise
