#include "tools/TemplateDatabase.h"

#include "data/jet/DatabaseCreator.h"
#include "data/jet/WritableDatabase.h"

namespace {

using Jet::NewColumn;
using Jet::NewColumnType;
using Jet::Value;

// 2026-01-01 09:00:00 as an OLE date: every time stamp in the file.
constexpr double kTemplateDate = 46023.375;

struct CatalogueEntry {
  const char16_t* intervention;
  std::int32_t everyKm;
  const char16_t* note;
  bool endOfRunningIn;           // due again at the end-of-running-in service
  std::int32_t everyMonths = 0;  // 0: by distance only
};

// Intervals a mechanic would suggest for a petrol or diesel car in ordinary use. The
// running-in service (around 1,500 km) changes the oil and its filter and checks what
// settles in a new car. "Candela" is not here: the program adds it itself.
constexpr CatalogueEntry kCatalogue[] = {
    {u"Olio motore", 15000, u"Sostituzione olio con la gradazione del libretto", true, 12},
    {u"Filtro olio", 15000, u"Da cambiare a ogni cambio d'olio", true, 12},
    {u"Filtro aria", 30000, u"Più spesso su strade polverose", false},
    {u"Filtro abitacolo", 15000, u"Filtro antipolline dell'aria condizionata", false, 12},
    {u"Filtro carburante", 60000, u"Sui diesel anche ogni 30.000 km", false},
    {u"Pastiglie freni anteriori", 30000, u"Controllare lo spessore a ogni tagliando", false},
    {u"Pastiglie freni posteriori", 50000, u"Controllare lo spessore a ogni tagliando", false},
    {u"Dischi freni anteriori", 80000, u"Sostituire con le pastiglie se sotto lo spessore minimo",
     false},
    {u"Dischi freni posteriori", 100000, u"Sostituire con le pastiglie se sotto lo spessore minimo",
     false},
    {u"Liquido freni", 40000, u"In ogni caso ogni due anni", false, 24},
    {u"Cinghia distribuzione", 120000, u"O dopo 5 anni; sostituire anche il tendicinghia", false,
     60},
    {u"Cinghia servizi", 90000, u"Verificare crepe e tensione", false, 60},
    {u"Pompa acqua", 120000, u"Di solito insieme alla cinghia di distribuzione", false},
    {u"Liquido refrigerante", 60000, u"Controllare il livello a motore freddo", false, 48},
    {u"Pneumatici anteriori", 40000,
     u"Battistrada minimo 1,6 mm; controllare la pressione ogni mese", false, 72},
    {u"Pneumatici posteriori", 50000,
     u"Battistrada minimo 1,6 mm; controllare la pressione ogni mese", false, 72},
    {u"Convergenza ed equilibratura", 20000, u"Anche dopo un urto contro il marciapiede", true},
    {u"Batteria", 80000, u"Verificare la carica prima dell'inverno", false, 48},
    {u"Spazzole tergicristallo", 20000, u"Sostituire se lasciano aloni", false, 12},
    {u"Olio cambio", 60000, u"Cambio manuale; per l'automatico seguire il libretto", false},
    {u"Frizione", 150000, u"Verificare lo slittamento in salita", false},
    {u"Ammortizzatori", 100000, u"Controllare perdite d'olio e tenuta di strada", false},
    {u"Ricarica climatizzatore", 40000, u"Igienizzazione dell'impianto compresa", false, 24},
    {u"Controllo luci e fari", 15000, u"Regolazione dei fari inclusa", true},
    {u"Tagliando generale", 15000, u"Controllo dei livelli, delle cinghie e dei tubi", true, 12},
};

NewColumn Column(const char16_t* name, NewColumnType type, std::uint16_t characters = 255) {
  NewColumn column;
  column.name = name;
  column.type = type;
  column.maxCharacters = characters;
  return column;
}

}  // namespace

void WriteTemplateDatabase(const std::filesystem::path& path) {
  Jet::NewDatabaseFacts facts = Jet::NewDatabaseFacts::FromJetSample();
  facts.headerCreationDate = kTemplateDate;
  facts.objectsCreationDate = kTemplateDate;
  Jet::CreateEmptyDatabase(path, facts);

  Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
  database.BeginWrites();
  database.CreateTable(
      {u"VEICOLO",
       {Column(u"ID", NewColumnType::kAutoNumber), Column(u"TARGA", NewColumnType::kText, 20),
        Column(u"DESCRIZIONE", NewColumnType::kText), Column(u"KM", NewColumnType::kLong),
        Column(u"DATA_KM", NewColumnType::kDateTime)},
       u"ID"},
      kTemplateDate);
  database.CreateTable(
      {u"INTERVENTI",
       {Column(u"ID", NewColumnType::kAutoNumber), Column(u"INTERVENTO", NewColumnType::kText),
        Column(u"CADENZAKM", NewColumnType::kLong), Column(u"NOTE", NewColumnType::kText),
        Column(u"FINERODAGGIO", NewColumnType::kBoolean)},
       u"ID"},
      kTemplateDate);
  database.CreateTable(
      {u"INTERVENTI_VEICOLO",
       {Column(u"ID", NewColumnType::kAutoNumber), Column(u"ID_VEICOLO", NewColumnType::kLong),
        Column(u"ID_INTERVENTO", NewColumnType::kLong), Column(u"KM", NewColumnType::kLong),
        Column(u"DATA", NewColumnType::kDateTime), Column(u"COSTO", NewColumnType::kDouble),
        Column(u"NOTE", NewColumnType::kText)},
       u"ID"},
      kTemplateDate);
  database.CreateTable(
      {u"INTERVENTI_MESI",
       {Column(u"ID_INTERVENTO", NewColumnType::kLong), Column(u"MESI", NewColumnType::kLong)},
       u"ID_INTERVENTO"},
      kTemplateDate);
  std::int32_t id = 0;  // the AutoNumber of each row, counting from 1
  for (const CatalogueEntry& entry : kCatalogue) {
    ++id;
    database.InsertRow(u"INTERVENTI",
                       {Value(), Value(std::u16string(entry.intervention)), Value(entry.everyKm),
                        Value(std::u16string(entry.note)), Value(entry.endOfRunningIn)});
    if (entry.everyMonths != 0) {
      database.InsertRow(u"INTERVENTI_MESI", {Value(id), Value(entry.everyMonths)});
    }
  }
  database.CommitWrites();
}
