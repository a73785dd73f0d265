// Checks that every routine declared in the public headers carries its line of
// documentation: a comment on the line above, or at the end of the declaration.
// Overloads that follow each other share the comment of the first.
//
//   header_doc_check <header> ...
//
// Prints "file:line: name" for every routine without one and exits with 1.
#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

bool startsWith(const std::string& s, const char* p) { return s.rfind(p, 0) == 0; }

int check(const char* file) {
  std::ifstream in(file);
  if (!in) {
    std::fprintf(stderr, "header_doc_check: cannot read %s\n", file);
    return 1;
  }
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  // A declaration begins at column 0 with a type and a routine name before "(".
  static const std::regex declaration(R"(^(\[\[noreturn\]\] )?[A-Za-z_][\w:<>,*& ]*?\b([a-z_][a-z0-9_]*)\()");
  int undocumented = 0;
  std::string previousName;
  bool previousWasComment = false;
  bool inMacro = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    const bool continued = !l.empty() && l.back() == '\\';
    if (inMacro || startsWith(l, "#")) {
      inMacro = continued;
      previousWasComment = false;
      continue;
    }
    if (startsWith(l, "//")) {
      previousWasComment = true;
      continue;
    }
    std::smatch m;
    const bool isDeclaration = !startsWith(l, "using") && !startsWith(l, "namespace") &&
                               !startsWith(l, "template") && std::regex_search(l, m, declaration);
    if (!isDeclaration) {
      if (!l.empty()) previousName.clear();
      previousWasComment = false;
      continue;
    }
    const std::string name = m[2];
    std::size_t end = i;
    bool trailing = l.find("//") != std::string::npos;
    while (end + 1 < lines.size() && lines[end].find(';') == std::string::npos &&
           lines[end].find('{') == std::string::npos) {
      ++end;
      trailing = trailing || lines[end].find("//") != std::string::npos;
    }
    if (!trailing && !previousWasComment && name != previousName) {
      std::printf("%s:%zu: %s\n", file, i + 1, name.c_str());
      ++undocumented;
    }
    previousName = name;
    previousWasComment = false;
    i = end;
  }
  return undocumented;
}

}  // namespace

int main(int argc, char** argv) {
  int n = 0;
  for (int i = 1; i < argc; ++i) n += check(argv[i]);
  if (n > 0)
    std::printf("%d routine%s without a line of documentation: add one above each declaration.\n", n,
                n == 1 ? "" : "s");
  return n > 0 ? 1 : 0;
}
