// SPDX-License-Identifier: GPL-3.0-or-later
// How nested body lines become a tree of items: the depth of a line is the
// number of characters before its first "+".
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/builder_body.h"

namespace {

struct Node {
  std::string text;
  std::vector<std::unique_ptr<Node>> children;
};

// "a(b c(d)) e": each node's definition, its children in parentheses.
std::string Shape(const std::vector<std::unique_ptr<Node>>& nodes) {
  std::string out;
  for (const auto& n : nodes) {
    if (!out.empty()) out += ' ';
    out += n->text;
    if (!n->children.empty()) out += "(" + Shape(n->children) + ")";
  }
  return out;
}

std::string Build(const std::vector<std::string>& lines) {
  Node root;
  builder::AddNested<Node*>(lines, [&root](Node* parent, std::string_view definition) {
    Node* into = parent ? parent : &root;
    into->children.push_back(std::make_unique<Node>());
    into->children.back()->text = definition.empty() ? "<>" : std::string(definition);
    return into->children.back().get();
  });
  return Shape(root.children);
}

TEST(NestedBody, DepthDecidesWhereEachLineGoes) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    const char* shape;
  };
  const Case cases[] = {
      {"empty body", {}, ""},
      {"flat", {"+a", "+b", "+c"}, "a b c"},
      {"deeper line right after the first nests under it", {"+a", "-+b", "+c"}, "a(b) c"},
      {"back up two levels at once", {"+a", "-+b", "--+c", "+d"}, "a(b(c)) d"},
      {"a line shallower than the first ends the body", {"-+a", "-+b", "+c", "-+d"}, "a b"},
      {"any characters count, their number is the depth",
       {"+a", "xy+b", "..+c", "ab+d"},
       "a(b c d)"},
      {"a line without + is all depth and no definition", {"+a", "--", "+b"}, "a(<>) b"},
      {"the text after the first + is the definition",
       {"+x+y", "-+{(%CL_Null:Ctrl++)}z"},
       "x+y({(%CL_Null:Ctrl++)}z)"},
      {"a middle depth opens its own level under the last node",
       {"+a", "--+b", "-+c", "--+d"},
       "a(b c(d))"},
  };
  for (const Case& c : cases) EXPECT_EQ(Build(c.lines), c.shape) << c.name;
}

}  // namespace
