#pragma once
#include <string>

class TFormula;

// Hears which coaching dialogs a Check opens, in order, with the substance each is about, so
// that the results can say which kind of mistake a student made. One listener at a time,
// for as long as its scope lives; coaching runs on the one user-interface thread.
class TCoachingListener {
 public:
  enum class TStep { OxidationNumber, Dissociation, WrongSubstance, MissingSubstance };

  virtual ~TCoachingListener() = default;
  // The substance as its formula text and its charge text, in keyed or decimal form.
  virtual void CoachingOpened(TStep step, const std::string& formula,
                              const std::string& charge) = 0;

  // Tells the listener in scope, if any.
  static void Tell(TStep step, const std::string& formula, const std::string& charge);
  static void Tell(TStep step, const TFormula& substance);

  class TScope {
   public:
    explicit TScope(TCoachingListener& listener);
    ~TScope();
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

   private:
    TCoachingListener* previous_;
  };

 private:
  static TCoachingListener* current_;
};
