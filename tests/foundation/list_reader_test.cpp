// Free-format (list-directed) reading: separators, nulls, slashes, quotes,
// repeat counts, records that continue a read, conversions and bad input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/list_reader.hpp"
#include "foundation/units.hpp"
#include "support/test_support.hpp"

namespace {

using zep::listio::ListReader;
using zep::listio::ReadStatus;

// A reader over fixed lines, as a file would give them.
ListReader over(std::vector<std::string> lines) {
  auto state = std::make_shared<std::pair<std::vector<std::string>, std::size_t>>(std::move(lines), 0);
  return ListReader([state](std::string& record) {
    if (state->second >= state->first.size()) return false;
    record = state->first[state->second++];
    return true;
  });
}

std::string trimmed(const std::string& s) { return s.substr(0, s.find_last_not_of(' ') + 1); }

TEST(ListReader, BlanksCommasAndLineEndsSeparateValues) {
  auto r = over({"  1 2,3 ,  4\t5", "", "   6", "7,", "8"});
  int a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0, h = 0;
  ASSERT_EQ(r.read({&a, &b, &c, &d, &e, &f, &g, &h}), ReadStatus::ok);
  EXPECT_EQ(std::vector<int>({a, b, c, d, e, f, g, h}), std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(ListReader, EveryReadStartsOnANewRecord) {
  auto r = over({"1 2 3", "4 5", "6"});
  int a = 0, b = 0, c = 0;
  ASSERT_EQ(r.read({&a}), ReadStatus::ok);
  ASSERT_EQ(r.read({&b}), ReadStatus::ok);
  ASSERT_EQ(r.read({&c}), ReadStatus::ok);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 4);
  EXPECT_EQ(c, 6);
  EXPECT_EQ(r.read({&a}), ReadStatus::endOfFile);
}

TEST(ListReader, NullValuesAndSlashLeaveItemsUnchanged) {
  auto r = over({",5,,7 , ,9", "1 2 / 3", "10"});
  int v[6] = {-1, -1, -1, -1, -1, -1};
  ASSERT_EQ(r.read({&v[0], &v[1], &v[2], &v[3], &v[4], &v[5]}), ReadStatus::ok);
  EXPECT_EQ(std::vector<int>(v, v + 6), std::vector<int>({-1, 5, -1, 7, -1, 9}));

  int w[4] = {-1, -1, -1, -1};
  ASSERT_EQ(r.read({&w[0], &w[1], &w[2], &w[3]}), ReadStatus::ok);
  EXPECT_EQ(std::vector<int>(w, w + 4), std::vector<int>({1, 2, -1, -1}));
  // What followed the slash on its record is gone; the next read takes the next record.
  int x = 0;
  ASSERT_EQ(r.read({&x}), ReadStatus::ok);
  EXPECT_EQ(x, 10);
}

TEST(ListReader, QuotedTextsKeepBlanksCommasSlashesAndDoubledQuotes) {
  auto r = over({"'a b, c/d'  \"it's\",'don''t' plain/rest", "'  lead' \"\" 'x'"});
  std::string t1(12, '?'), t2(12, '?'), t3(12, '?'), t4(12, '?');
  ASSERT_EQ(r.read({std::span<char>(t1), std::span<char>(t2), std::span<char>(t3), std::span<char>(t4)}),
            ReadStatus::ok);
  EXPECT_EQ(t1, "a b, c/d    ");
  EXPECT_EQ(t2, "it's        ");
  EXPECT_EQ(t3, "don't       ");
  EXPECT_EQ(t4, "plain       ");  // an unquoted word ends at the slash, which ends the read

  std::string u1(8, '?'), u2(8, '?'), u3(8, '?');
  ASSERT_EQ(r.read({std::span<char>(u1), std::span<char>(u2), std::span<char>(u3)}), ReadStatus::ok);
  EXPECT_EQ(u1, "  lead  ");
  EXPECT_EQ(u2, "        ");  // an empty quoted text is a value, not a null
  EXPECT_EQ(u3, "x       ");
}

TEST(ListReader, TextsAreCutOrPaddedToTheirItem) {
  auto r = over({"abcdefgh 'ab'"});
  std::string a(4, '?'), b(4, '?');
  ASSERT_EQ(r.read({std::span<char>(a), std::span<char>(b)}), ReadStatus::ok);
  EXPECT_EQ(a, "abcd");
  EXPECT_EQ(b, "ab  ");
}

TEST(ListReader, AReadContinuesOverLinesForTextsToo) {
  auto r = over({"2", "'colormap_a'", "   'first map'", "colormap_b,'second, with comma'"});
  int n = 0;
  ASSERT_EQ(r.read({&n}), ReadStatus::ok);
  ASSERT_EQ(n, 2);
  std::string f(16, ' '), d(24, ' ');
  ASSERT_EQ(r.read({std::span<char>(f), std::span<char>(d)}), ReadStatus::ok);
  EXPECT_EQ(trimmed(f), "colormap_a");
  EXPECT_EQ(trimmed(d), "first map");
  ASSERT_EQ(r.read({std::span<char>(f), std::span<char>(d)}), ReadStatus::ok);
  EXPECT_EQ(trimmed(f), "colormap_b");
  EXPECT_EQ(trimmed(d), "second, with comma");
}

TEST(ListReader, RepeatCounts) {
  auto r = over({"3*7 2* 4 2*'a b'"});
  int v[6] = {0, 0, 0, -1, -1, 0};
  std::string s1(3, '?'), s2(3, '?');
  ASSERT_EQ(r.read({&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], std::span<char>(s1), std::span<char>(s2)}),
            ReadStatus::ok);
  EXPECT_EQ(std::vector<int>(v, v + 6), std::vector<int>({7, 7, 7, -1, -1, 4}));
  EXPECT_EQ(s1, "a b");
  EXPECT_EQ(s2, "a b");
}

TEST(ListReader, RealsAndLogicals) {
  auto r = over({"1.5 -2e3 4.D-1 .5 7 1.0+2 +3.", "T .false. true F .T."});
  float x[7] = {};
  ASSERT_EQ(r.read({&x[0], &x[1], &x[2], &x[3], &x[4], &x[5], &x[6]}), ReadStatus::ok);
  EXPECT_FLOAT_EQ(x[0], 1.5F);
  EXPECT_FLOAT_EQ(x[1], -2000.0F);
  EXPECT_FLOAT_EQ(x[2], 0.4F);
  EXPECT_FLOAT_EQ(x[3], 0.5F);
  EXPECT_FLOAT_EQ(x[4], 7.0F);
  EXPECT_FLOAT_EQ(x[5], 100.0F);
  EXPECT_FLOAT_EQ(x[6], 3.0F);
  bool l[5] = {false, true, false, true, false};
  ASSERT_EQ(r.read({&l[0], &l[1], &l[2], &l[3], &l[4]}), ReadStatus::ok);
  EXPECT_TRUE(l[0]);
  EXPECT_FALSE(l[1]);
  EXPECT_TRUE(l[2]);
  EXPECT_FALSE(l[3]);
  EXPECT_TRUE(l[4]);
}

TEST(ListReader, BadValuesAreErrorsAndMissingOnesEndOfFile) {
  const auto status = [](std::string line, auto item) {
    auto r = over({std::move(line)});
    return r.read({item});
  };
  int i = 0;
  float f = 0;
  bool b = false;
  EXPECT_EQ(status("abc", &i), ReadStatus::error);
  EXPECT_EQ(status("12x", &i), ReadStatus::error);
  EXPECT_EQ(status("'12'", &i), ReadStatus::error);  // a quoted value is text only
  EXPECT_EQ(status("99999999999", &i), ReadStatus::error);
  EXPECT_EQ(status("-", &i), ReadStatus::error);
  EXPECT_EQ(status("0*5", &i), ReadStatus::error);
  EXPECT_EQ(status("1.2.3", &f), ReadStatus::error);
  EXPECT_EQ(status("inf", &f), ReadStatus::error);
  EXPECT_EQ(status("e5", &f), ReadStatus::error);
  EXPECT_EQ(status("1e99", &f), ReadStatus::error);
  EXPECT_EQ(status("1e", &f), ReadStatus::error);
  EXPECT_EQ(status("X", &b), ReadStatus::error);
  EXPECT_EQ(status(".", &b), ReadStatus::error);
  std::string t(8, ' ');
  EXPECT_EQ(status("'not closed", std::span<char>(t)), ReadStatus::error);
  EXPECT_EQ(status("-2147483648", &i), ReadStatus::ok);
  EXPECT_EQ(i, -2147483648);

  auto r = over({"1", "2"});
  int a = 0, c = 0, d = 0;
  EXPECT_EQ(r.read({&a, &c, &d}), ReadStatus::endOfFile);
  auto empty = over({});
  EXPECT_EQ(empty.read({&a}), ReadStatus::endOfFile);
}

TEST(ListReader, ReadsAUnitAndCutsOverlongRecords) {
  zeptest::TempWorkDir dir;
  {
    std::FILE* f = std::fopen("list.txt", "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "3 'short'\n%s 9\n", std::string(5000, 'x').c_str());
    std::fclose(f);
  }
  zep::units::ScopedUnit unit("list.txt", "r");
  ASSERT_TRUE(unit.isOpen());
  ListReader r(unit.unit(), 16);
  int n = 0, m = -1;
  std::string s(8, '?');
  ASSERT_EQ(r.read({&n, std::span<char>(s)}), ReadStatus::ok);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(s, "short   ");
  // The second line is cut at 16 characters: its text is there, the 9 is not,
  // so the read goes on to the end of the file.
  std::string word(32, '?');
  EXPECT_EQ(r.read({std::span<char>(word), &m}), ReadStatus::endOfFile);
  EXPECT_EQ(word, std::string(16, 'x') + std::string(16, ' '));
  EXPECT_EQ(m, -1);
}

}  // namespace
