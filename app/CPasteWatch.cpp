#include "app/CPasteWatch.h"

static_assert(kPasteStart.size() == kPasteEnd.size());

void CPasteWatch::Note(unsigned char key) {
    if (recent_.size() == kPasteEnd.size()) recent_.erase(0, 1);
    recent_ += static_cast<char>(key);
    if (recent_ == kPasteStart) open_ = true;
    if (recent_ == kPasteEnd) open_ = false;
}

void CPasteWatch::Reset(bool open) {
    recent_.clear();
    open_ = open;
}
