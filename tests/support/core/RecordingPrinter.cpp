#include "support/core/RecordingPrinter.h"

namespace quillon::testing {

int RecordingPrinter::Fault() {
  auto it = faults_.find(++calls_);
  return it == faults_.end() ? 0 : it->second;
}

int RecordingPrinter::SetFont(const std::string& name, double points) {
  if (int f = Fault()) return f;
  font_ = name;
  points_ = points;
  return 0;
}

int RecordingPrinter::SetOrientation(Orientation orientation) {
  if (int f = Fault()) return f;
  orientation_ = orientation;
  return 0;
}

int RecordingPrinter::PrintLine(const std::string& text) {
  if (int f = Fault()) return f;
  if (pages.empty() || new_page_pending_) {
    pages.push_back(PrintedPage{orientation_, {}, {}});
    new_page_pending_ = false;
  }
  pages.back().lines.push_back({x_, y_, font_, points_, text});
  y_ += points_ / 64;
  x_ = 0;
  return 0;
}

int RecordingPrinter::DrawPicture(const Drawing& drawing) {
  if (int f = Fault()) return f;
  if (pages.empty() || new_page_pending_) {
    pages.push_back(PrintedPage{orientation_, {}, {}});
    new_page_pending_ = false;
  }
  pages.back().pictures.push_back({x_, y_, drawing});
  y_ += drawing.height;
  x_ = 0;
  return 0;
}

int RecordingPrinter::NewPage() {
  if (int f = Fault()) return f;
  // The sheet is begun by the next line printed: a new page right before
  // the end of the document adds none.
  if (pages.empty() || new_page_pending_) pages.push_back(PrintedPage{orientation_, {}, {}});
  new_page_pending_ = true;
  ++page_number_;
  x_ = y_ = 0;
  return 0;
}

int RecordingPrinter::EndDocument() {
  if (int f = Fault()) return f;
  documents.push_back(std::move(pages));
  pages.clear();
  new_page_pending_ = false;
  page_number_ = 1;
  x_ = y_ = 0;
  return 0;
}

void RecordingPrinter::AbandonDocument() {
  pages.clear();
  new_page_pending_ = false;
  page_number_ = 1;
  ++abandoned;
}

std::vector<std::string> RecordingPrinter::Texts(const std::vector<PrintedPage>& pages) {
  std::vector<std::string> out;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) out.push_back("\f");
    for (const PrintedLine& l : pages[p].lines) out.push_back(l.text);
  }
  return out;
}

}  // namespace quillon::testing
