#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "results/results_location.h"
#include "results/results_summary.h"

class TResultsStore;

// What the results window shows and when it reads again, without a widget: the store shown
// (this account's results, or files opened together), the line naming it, whose figures
// (the student chosen, or everyone), the figures last read and since when, and whether reading
// again by the clock goes on. The window lays these out and fills them in.
class TResultsView {
 public:
  // Whether a class server lets this login in, tried off the window's thread; false, with why
  // told as the failure of the store given, when it does not.
  using TTryServer = std::function<bool(const TResultsLocation&, TResultsStore& failed)>;

  TResultsView();
  ~TResultsView();

  // This account's results at the place its settings name. A file is opened only for reading
  // (Clear... opens it for writing when asked) and looking never creates one; a class server is
  // tried first.
  void ShowOwn(const TTryServer& tryServer);
  // Files opened together: the store they were merged into (or the one file), the paths read
  // and the names that tell them apart.
  void ShowFiles(std::unique_ptr<TResultsStore> store, const QStringList& paths,
                 const std::vector<std::string>& names);

  TResultsStore& Store() { return *store_; }
  const TResultsStore& Store() const { return *store_; }
  bool ShowingOwn() const { return showingOwn_; }
  // The own store is open on its place, not an empty stand-in for a file not made yet.
  bool OwnOpen() const { return ownOpen_; }
  const QStringList& OpenedPaths() const { return openedPaths_; }
  // Where the own results are, whether or not they could be opened.
  const TResultsLocation& OwnLocation() const { return ownLocation_; }
  // The line naming what is shown, and the driver's words on a failure for its tool tip.
  const QString& Source() const { return source_; }
  const QString& SourceDetails() const { return details_; }
  // Only a login that sees everyone is offered Clear...; it works on the own store when open
  // and of a version this program writes.
  bool OffersClear() const;
  bool MayClear() const;

  // The choice of whose figures: "Everyone" first for a login that sees everyone, then the
  // students. Offered only where there is something to choose.
  QStringList StudentChoices(const std::vector<std::string>& students) const;
  bool OffersChoice(const QStringList& choices) const;
  // The student whose figures are read, from the choice's index; "" for everyone.
  std::string Chosen(int index, const QString& text) const;
  // Whose figures a chart shows: the student chosen, everyone, or the login's own.
  QString Whose(const std::string& student) const;

  // Figures read at now (hh:mm:ss): false when they are what is shown already, so that the
  // tables keep where they were scrolled.
  bool TakeFigures(TResultsFigures figures, const QString& now);
  // A reading that failed at now: the figures last read stay.
  void NotRead(const QString& now);
  const TResultsFigures& Figures() const { return figures_; }
  bool FiguresShown() const { return figuresShown_; }
  // "Read at 10:02:03", or "Not read at 10:02:08; shown as read at 10:02:03".
  const QString& Age() const { return age_; }

  // Others write this computer's file and the class server, so those are read again by the
  // clock while the window shows; files opened together stay as read.
  bool RereadsByClock(bool visible) const { return visible && showingOwn_; }
  // A teacher's class server is read off the window's thread, its new answers graded first.
  bool ReadsOffThread() const;
  // Whether reading again can use the store shown: the own one, open, on the place the
  // settings name now. Otherwise it is opened afresh.
  bool ReadsSameStore(const TResultsLocation& location) const;

 private:
  // The own store's place read from the settings: the store and the line naming it.
  void OpenOwn(const TResultsLocation& location, const TTryServer& tryServer);

  std::unique_ptr<TResultsStore> store_;
  bool showingOwn_ = true;
  bool ownOpen_ = false;
  TResultsLocation ownLocation_;
  QStringList openedPaths_;
  QString source_;
  QString details_;
  TResultsFigures figures_;
  bool figuresShown_ = false;
  QString readAt_;
  QString age_;
};
