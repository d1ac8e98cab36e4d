// The index of a session's persistent names: every name filed is found
// again, however often the table grew, and the first item of a name stays.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/items/CNameIndex.h"

namespace {

class NamedItem final : public CExpItem {
public:
    explicit NamedItem(std::string name) : CExpItem(EXP_ITEM), name_(std::move(name)) {}
    std::string_view Name() const override { return name_; }

private:
    std::string name_;
};

}  // namespace

TEST(NameIndex, FindsEveryNameAfterGrowing) {
    CNameIndex index;
    std::vector<std::unique_ptr<NamedItem>> items;
    for (int i = 0; i < 5000; ++i) {
        items.push_back(std::make_unique<NamedItem>("d" + std::to_string(i)));
        index.Add(items.back().get());
    }
    for (int i = 0; i < 5000; ++i) EXPECT_EQ(index.Find("d" + std::to_string(i)), items[static_cast<size_t>(i)].get());
    // Prefixes and extensions of filed names are other names.
    EXPECT_EQ(index.Find("d"), nullptr);
    EXPECT_EQ(index.Find("d50000"), nullptr);
    EXPECT_EQ(index.Find(""), nullptr);
}

TEST(NameIndex, TheFirstItemOfANameStays) {
    CNameIndex index;
    NamedItem first("x");
    NamedItem second("x");
    index.Add(&first);
    index.Add(&second);
    EXPECT_EQ(index.Find("x"), &first);
    index.Clear();
    EXPECT_EQ(index.Find("x"), nullptr);
    index.Add(&second);
    EXPECT_EQ(index.Find("x"), &second);
}
