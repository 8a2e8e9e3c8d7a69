// A Printer that records what is printed, page by page, and fails on
// request. Its line of a font of p points is p / 64 inches high (10 points:
// 0.15625), a binary fraction, so that where a page fills is exact.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Printer.h"

namespace quillon::testing {

struct PrintedLine {
  double x = 0, y = 0;
  std::string font;
  double points = 0;
  std::string text;
};

// A picture drawn on a page, with where its top left corner went.
struct PrintedPicture {
  double x = 0, y = 0;
  Drawing drawing;
};

struct PrintedPage {
  Orientation orientation = Orientation::kPortrait;
  std::vector<PrintedLine> lines;
  std::vector<PrintedPicture> pictures;
};

class RecordingPrinter : public Printer {
 public:
  // The `call`-th operation that can fail (counting from 1, over the whole
  // life of the printer) returns `number` instead of being done.
  void FailAt(int call, int number) { faults_[call] = number; }
  int calls() const { return calls_; }

  // Records the question ("Student Records, landscape") and answers it:
  // cancelled when `cancel_destination` is set.
  bool ChooseDestination(const std::string& job, Orientation orientation) override {
    destinations.push_back(job +
                           (orientation == Orientation::kPortrait ? ", portrait" : ", landscape"));
    return !cancel_destination;
  }
  int SetFont(const std::string& name, double points) override;
  Orientation GetOrientation() override { return orientation_; }
  int SetOrientation(Orientation orientation) override;
  double PageHeight() override { return orientation_ == Orientation::kPortrait ? 11 : 8.5; }
  double CurrentX() override { return x_; }
  double CurrentY() override { return y_; }
  void SetPosition(double x, double y) override {
    x_ = x;
    y_ = y;
  }
  int PrintLine(const std::string& text) override;
  int DrawPicture(const Drawing& drawing) override;
  int PageNumber() override { return page_number_; }
  int NewPage() override;
  int EndDocument() override;
  void AbandonDocument() override;

  // The documents sent, each a list of pages; the pages of the job begun and
  // not yet ended; how many jobs were abandoned.
  std::vector<std::vector<PrintedPage>> documents;
  std::vector<PrintedPage> pages;
  int abandoned = 0;
  // Every print dialog asked for, and whether the next are cancelled.
  std::vector<std::string> destinations;
  bool cancel_destination = false;

  // Every line of a document's pages, one text per line, with "\f" between pages.
  static std::vector<std::string> Texts(const std::vector<PrintedPage>& pages);

 private:
  // Counts the call; its fault number, or 0.
  int Fault();

  std::map<int, int> faults_;
  int calls_ = 0;
  Orientation orientation_ = Orientation::kPortrait;
  std::string font_ = "Arial";
  double points_ = 10;
  double x_ = 0, y_ = 0;
  int page_number_ = 1;
  bool new_page_pending_ = false;
};

}  // namespace quillon::testing
