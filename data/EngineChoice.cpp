#include "data/EngineChoice.h"

#include "data/JetFileEngine.h"

bool UseAdoAfterRefusal(Jet::JetErrorKind refusal, bool providerRegistered) {
  switch (refusal) {
    case Jet::JetErrorKind::kUnsupportedVersion:  // Access 97 files, which Jet 4 reads
    case Jet::JetErrorKind::kEncrypted:           // Jet 4's encoded databases
    case Jet::JetErrorKind::kUnsupportedWrite:    // an index the engine cannot maintain
      return providerRegistered;
    default: return false;
  }
}

namespace {

// Finds the ADO engine once, on the first refusal that calls for it.
class AdoStandIn {
 public:
  explicit AdoStandIn(AdoEngineSource source) : source_(std::move(source)) {}

  // The ADO engine when the refusal calls for it; nothing otherwise. ADO is looked for only
  // for a refusal it would serve.
  DbEngine* For(Jet::JetErrorKind refusal) {
    if (!UseAdoAfterRefusal(refusal, true)) return nullptr;
    if (!asked_) {
      asked_ = true;
      if (source_) engine_ = source_();
      if (engine_ && !engine_->StartupError().empty()) engine_.reset();
    }
    return engine_.get();
  }

 private:
  AdoEngineSource source_;
  bool asked_ = false;
  std::unique_ptr<DbEngine> engine_;
};

// A built-in session whose statements the engine cannot write go to ADO instead. Every
// built-in statement reads the file as it is then, so it also sees what ADO wrote.
class ChoosingSession : public DbSession {
 public:
  ChoosingSession(std::unique_ptr<DbSession> builtIn, AdoStandIn& ado,
                  std::wstring connectionString)
      : builtIn_(std::move(builtIn)), ado_(ado), connectionString_(std::move(connectionString)) {}

  Sql::QueryResult Query(const std::string& sql) override { return builtIn_->Query(sql); }

  std::int64_t Execute(const std::string& sql) override {
    try {
      return builtIn_->Execute(sql);
    } catch (const JetRefusal& refusal) {
      DbEngine* ado = ado_.For(refusal.Kind());
      if (ado == nullptr) throw;
      if (!adoSession_) adoSession_ = ado->Open(connectionString_);
      return adoSession_->Execute(sql);
    }
  }

 private:
  std::unique_ptr<DbSession> builtIn_;
  AdoStandIn& ado_;
  std::wstring connectionString_;
  std::unique_ptr<DbSession> adoSession_;
};

class ChoosingEngine : public DbEngine {
 public:
  ChoosingEngine(std::unique_ptr<DbEngine> builtIn, AdoEngineSource ado)
      : builtIn_(std::move(builtIn)), ado_(std::move(ado)) {}

  std::string StartupError() const override { return builtIn_->StartupError(); }

  std::unique_ptr<DbSession> Open(const std::wstring& connectionString) override {
    try {
      return std::make_unique<ChoosingSession>(builtIn_->Open(connectionString), ado_,
                                               connectionString);
    } catch (const JetRefusal& refusal) {
      DbEngine* ado = ado_.For(refusal.Kind());
      if (ado == nullptr) throw;
      return ado->Open(connectionString);
    }
  }

 private:
  std::unique_ptr<DbEngine> builtIn_;
  AdoStandIn ado_;
};

}  // namespace

std::unique_ptr<DbEngine> MakeChoosingEngine(std::unique_ptr<DbEngine> builtIn,
                                             AdoEngineSource ado) {
  return std::make_unique<ChoosingEngine>(std::move(builtIn), std::move(ado));
}
