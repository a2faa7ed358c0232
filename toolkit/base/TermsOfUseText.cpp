#include "toolkit/base/TermsOfUseText.h"

namespace LumoUtility {

const char* TermsOfUseText() {
  return "CONDIZIONI DI UTILIZZO DI TORVANE MANUTENZIONE\r\n"
         "\r\n"
         "1. Che cosa fa il programma\r\n"
         "Torvane Manutenzione tiene il registro della manutenzione dei tuoi veicoli: li "
         "registra per targa, conserva un elenco di interventi con la loro cadenza in "
         "chilometri, annota ogni intervento eseguito (data, chilometri, costo, note) e indica, "
         "per il veicolo in uso, quali interventi sono di nuovo da fare.\r\n"
         "\r\n"
         "2. Nessuna garanzia\r\n"
         "Il programma è fornito \"così com'è\", senza garanzie di alcun tipo, espresse o "
         "implicite, comprese quelle di commerciabilità e di idoneità a uno scopo particolare. "
         "Le scadenze indicate sono un promemoria calcolato dai dati che inserisci: non "
         "sostituiscono il libretto di uso e manutenzione del veicolo né il parere di "
         "un'officina. In nessun caso l'autore risponde di danni derivanti dall'uso o dal "
         "mancato uso del programma.\r\n"
         "\r\n"
         "3. I tuoi dati\r\n"
         "I dati restano sul tuo computer, nel file dati.mdb della cartella "
         "TorvaneManutenzione\\dati, dentro la cartella dei dati locali delle applicazioni del "
         "tuo utente (%LOCALAPPDATA%). Il programma non invia nulla in Internet: apre il sito "
         "del produttore nel browser solo quando scegli \"Guida\" o \"Home\" dal menu \"?\".\r\n"
         "\r\n"
         "4. Copia di sicurezza\r\n"
         "Per mettere al sicuro i dati scegli Opzioni > Backup e indica una cartella, per "
         "esempio su una chiavetta USB: il programma vi copia il database con il nome "
         "TorvaneBackup.dat. Per riprenderli scegli Opzioni > Restore e indica la cartella che "
         "contiene il backup; prima di sostituire i dati il programma conserva quelli attuali "
         "accanto al database (dati.mdb.000, dati.mdb.001, ...). Backup e Restore si possono "
         "usare quando nessun veicolo è aperto. Conserva le copie su un supporto diverso dal "
         "computer.\r\n"
         "\r\n"
         "5. Accettazione\r\n"
         "Premendo \"Accetto\" dichiari di aver letto e di accettare queste condizioni. Se non "
         "le accetti premi \"Non Accetto\": il programma si chiude senza modificare i tuoi "
         "dati.\r\n";
}

}  // namespace LumoUtility
