#include "data/JetFileEngine.h"

#include <filesystem>

#include "data/JetTableStore.h"
#include "data/TableStoreSession.h"

std::string ItalianMessage(const Jet::JetError& error) {
  switch (error.Kind()) {
    case Jet::JetErrorKind::kFileAccess:
      return "Impossibile aprire o leggere il file del database.";
    case Jet::JetErrorKind::kNotJetDatabase: return "Il file non è un database di Access.";
    case Jet::JetErrorKind::kUnsupportedVersion:
      return "Il database è di una versione di Access che il programma non gestisce.";
    case Jet::JetErrorKind::kEncrypted:
      return "Il database è crittografato e non può essere aperto.";
    case Jet::JetErrorKind::kPasswordProtected:
      return "Il database è protetto da password e non può essere aperto.";
    case Jet::JetErrorKind::kCorrupt: return "Il file del database è danneggiato.";
    case Jet::JetErrorKind::kNotFound: return "Il record o la tabella richiesti non esistono più.";
    case Jet::JetErrorKind::kInvalidValue:
      return "Un valore non può essere memorizzato nel campo del database.";
    case Jet::JetErrorKind::kDuplicateKey:
      return "Le modifiche richieste non sono state apportate perché creerebbero valori "
             "duplicati nell'indice o nella chiave primaria.";
    case Jet::JetErrorKind::kUnsupportedWrite:
      return "La tabella ha un indice che il programma non sa aggiornare: la modifica non è "
             "stata eseguita.";
    case Jet::JetErrorKind::kBusy:
      return "Il database è occupato da un'altra copia del programma. Riprovare tra poco.";
    case Jet::JetErrorKind::kReadOnly:
      return "Il database è in sola lettura o bloccato da un altro programma: la modifica non è "
             "stata eseguita.";
    case Jet::JetErrorKind::kChangedElsewhere:
      return "Il database è stato modificato da un'altra copia del programma: la modifica non "
             "è stata eseguita. Riprovare.";
  }
  return "Errore del database.";
}

namespace {

// One open database; the engine's own errors become Italian descriptions.
class JetFileSession : public DbSession {
 public:
  explicit JetFileSession(const std::filesystem::path& file) : store_(file), sql_(store_) {}

  Sql::QueryResult Query(const std::string& sql) override {
    return Statement<Sql::QueryResult>([&] { return sql_.Query(sql); });
  }

  std::int64_t Execute(const std::string& sql) override {
    return Statement<std::int64_t>([&] { return sql_.Execute(sql); });
  }

 private:
  // Runs one statement while holding the file (JetTableStore::BeginStatement).
  template <typename Result, typename Run>
  Result Statement(Run run) {
    try {
      store_.BeginStatement();
      struct Ending {
        JetTableStore& store;
        ~Ending() { store.EndStatement(); }
      } ending{store_};
      return run();
    } catch (const Jet::JetError& error) {
      throw JetRefusal(error);
    }
  }

  JetTableStore store_;
  TableStoreSession sql_;
};

class JetFileEngine : public DbEngine {
 public:
  std::unique_ptr<DbSession> Open(const std::wstring& connectionString) override {
    std::wstring file = ConnectionStringValue(connectionString, L"Data Source");
    if (file.empty()) throw DbFailure("Nessun file di database indicato.");
    try {
      return std::make_unique<JetFileSession>(std::filesystem::path(file));
    } catch (const Jet::JetError& error) {
      throw JetRefusal(error);
    }
  }
};

}  // namespace

std::unique_ptr<DbEngine> MakeJetFileEngine() { return std::make_unique<JetFileEngine>(); }
