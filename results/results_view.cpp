#include "results/results_view.h"

#include <QFileInfo>

#include "results/qstring_of.h"
#include "results/results_settings.h"
#include "results/results_store.h"

TResultsView::TResultsView() : store_(std::make_unique<TResultsStore>()) {}

TResultsView::~TResultsView() = default;

void TResultsView::ShowOwn(const TTryServer& tryServer) {
  showingOwn_ = true;
  ownOpen_ = false;
  openedPaths_.clear();
  figuresShown_ = false;
  details_.clear();
  store_ = std::make_unique<TResultsStore>();
  ownLocation_ = {};
  std::string why;
  if (!TResultsSettings().Location(ownLocation_, &why)) {
    store_->OpenInMemory();
    source_ = QStringOf(why) + "; no results are shown.";
    return;
  }
  OpenOwn(ownLocation_, tryServer);
}

void TResultsView::OpenOwn(const TResultsLocation& location, const TTryServer& tryServer) {
  TResultsStore& store = *store_;
  if (!location.server && !QFileInfo::exists(QStringOf(location.file))) {
    // Looking must not create the file; the first answer does.
    store.OpenInMemory();
    source_ = "No answers have been recorded in " + QStringOf(location.file) + " yet.";
    return;
  }
  if (location.server && !tryServer(location, store)) {
    source_ = QStringOf(store.Error()) + "; no results are shown.";
    details_ = QStringOf(store.Details());
    store.OpenInMemory();
    return;
  }
  if (!store.Open(location, location.server ? TResultsStore::TMode::ReadWrite
                                            : TResultsStore::TMode::ReadOnly)) {
    source_ = "No results are shown: " + QStringOf(store.ErrorInSentence()) + ".";
    details_ = QStringOf(store.Details());
    store.OpenInMemory();
    return;
  }
  ownOpen_ = true;
  const QString where = QStringOf(location.Describe());
  source_ = store.SeesEveryone()
                ? "Results in " + where + "."
                : "Your results in " + where + " (login " + QStringOf(store.Login()) +
                      "); the class server shows each student only their own.";
  if (!store.Notice().empty()) source_ += " " + QStringOf(store.Notice()) + ".";
}

void TResultsView::ShowFiles(std::unique_ptr<TResultsStore> store, const QStringList& paths,
                             const std::vector<std::string>& names) {
  store_ = std::move(store);
  showingOwn_ = false;
  ownOpen_ = false;
  openedPaths_ = paths;
  figuresShown_ = false;
  details_.clear();
  QStringList shown;
  for (const std::string& name : names) shown << QStringOf(name);
  source_ = "Results of " + shown.join(", ") + ", each answer counted once.";
}

bool TResultsView::OffersClear() const {
  return store_->SeesEveryone();
}

bool TResultsView::MayClear() const {
  return showingOwn_ && ownOpen_ && store_->SeesEveryone() &&
         store_->SchemaVersion() <= TResultsStore::kSchemaVersion;
}

QStringList TResultsView::StudentChoices(const std::vector<std::string>& students) const {
  QStringList names;
  if (store_->SeesEveryone()) names << "Everyone";
  for (const std::string& name : students) names << QStringOf(name);
  return names;
}

bool TResultsView::OffersChoice(const QStringList& choices) const {
  // Nothing to choose from is not offered: a student's own window before, and with, her answers.
  return store_->SeesEveryone() || choices.size() > 1;
}

std::string TResultsView::Chosen(int index, const QString& text) const {
  // A student's login sees its own answers only, whatever the list holds.
  if (!store_->SeesEveryone() || index <= 0) return {};
  return text.toStdString();
}

QString TResultsView::Whose(const std::string& student) const {
  if (!student.empty()) return QStringOf(student);
  return store_->SeesEveryone() ? QStringLiteral("everyone") : QStringLiteral("your answers");
}

bool TResultsView::TakeFigures(TResultsFigures figures, const QString& now) {
  readAt_ = now;
  age_ = "Read at " + now;
  if (figuresShown_ && figures == figures_) return false;
  figures_ = std::move(figures);
  figuresShown_ = true;
  return true;
}

void TResultsView::NotRead(const QString& now) {
  if (figuresShown_) age_ = "Not read at " + now + "; shown as read at " + readAt_;
}

bool TResultsView::ReadsOffThread() const {
  return showingOwn_ && store_->Location().server && store_->SeesEveryone();
}

bool TResultsView::ReadsSameStore(const TResultsLocation& location) const {
  return ownOpen_ && store_->IsOpen() && store_->Location() == location;
}
