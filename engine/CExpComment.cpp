#include "engine/CExpComment.h"

bool CExpComment::Parse(CExpSource&, const std::string&) { return false; }  // TODO(comments)
bool CExpCommentLine::Parse(CExpSource&, const std::string&) { return false; }  // TODO(comments)
