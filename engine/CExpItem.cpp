#include "engine/CExpItem.h"

#include <algorithm>

#include "engine/ParseHelpers.h"

bool CExpItem::Parse(CExpSource&, const std::string&) { return false; }

std::string CExpItem::Text() const {
    std::string text;
    for (const auto& child : children_) text += child->Text();
    return text;
}

bool CExpItem::IsConstant() const {
    return std::all_of(children_.begin(), children_.end(),
                       [](const auto& child) { return child->IsConstant(); });
}

bool CExpItem::Execute(CExpContext&) { return true; }

bool CExpItem::Check(CExpSource& source) {
    for (const auto& child : children_) {
        if (!child->Check(source)) return false;
    }
    return true;
}

CExpItem* CExpItem::Lookup(const std::string& name) const {
    if (parent_ == nullptr) return nullptr;
    for (const auto& sibling : parent_->children_) {
        if (sibling.get() == this) break;
        if (CExpItem* found = sibling->MatchName(name)) return found;
    }
    return parent_->Lookup(name);
}

CExpItem* CExpItem::MatchName(const std::string& name) {
    return DefinesName() && Name() == name ? this : nullptr;
}

CExpItem* CExpItem::AppendChild(std::unique_ptr<CExpItem> child) {
    child->parent_ = this;
    children_.push_back(std::move(child));
    return children_.back().get();
}

CExpItem* CExpItem::PrependChild(std::unique_ptr<CExpItem> child) {
    child->parent_ = this;
    children_.insert(children_.begin(), std::move(child));
    return children_.front().get();
}

std::unique_ptr<CExpItem> CExpItem::RemoveChild(CExpItem* child) {
    auto it = std::find_if(children_.begin(), children_.end(),
                           [child](const auto& c) { return c.get() == child; });
    if (it == children_.end()) return nullptr;
    std::unique_ptr<CExpItem> removed = std::move(*it);
    children_.erase(it);
    removed->parent_ = nullptr;
    return removed;
}

CExpItem* CExpItem::ParseDeclaredName(CExpSource& source, const std::string& text, ExpKind kind) {
    SkipBlanks(source, text);
    const std::string name = ReadIdentifier(source, text);
    if (name.empty()) return nullptr;
    CExpItem* found = Lookup(name);
    if (found == nullptr || found->Kind() != kind) return nullptr;
    SetPosition(source.position);
    source.position += static_cast<int>(name.size());
    return found;
}

bool CExpItem::ExecuteChildren(CExpContext& context) {
    for (const auto& child : children_) {
        if (!child->Execute(context)) return false;
    }
    return true;
}
