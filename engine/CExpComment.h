#pragma once

#include "engine/CExpItem.h"

// Comments count as blanks: SkipBlanks offers the text to these two classes
// and discards what they recognise, so they never become part of a tree.

// «/* … */»; an unclosed comment runs to the end of the text and records (2, 1).
class CExpComment final : public CExpItem {
public:
    CExpComment() : CExpItem(EXP_COMMENT) {}
    bool Parse(CExpSource& source, const std::string& text) override;
    std::string Text() const override { return "/*" + text_ + "*/"; }

private:
    std::string text_;
};

// «// …» up to a "\r\n" pair or the end of the text.
class CExpCommentLine final : public CExpItem {
public:
    CExpCommentLine() : CExpItem(EXP_COMMENT_LINE) {}
    bool Parse(CExpSource& source, const std::string& text) override;
    std::string Text() const override { return "//" + text_ + "\n"; }

private:
    std::string text_;
};
