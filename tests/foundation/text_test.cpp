// Text measurement, comparison, search, adjustment, number parsing and substitution.
#include <gtest/gtest.h>

#include <csignal>
#include <zep/zep.hpp>

#include "support/test_support.hpp"

namespace {

using zeptest::lineRegex;

std::string adjusted(void (*f)(std::span<char>), std::string s) {
  f(s);
  return s;
}

TEST(Text, LengthsTreatNulAsBlank) {
  const std::string blanks(8, ' ');
  EXPECT_EQ(zep::lenc(blanks), 1);
  EXPECT_EQ(zep::lenz(blanks), 0);
  EXPECT_EQ(zep::lenc(""), 0);
  const std::string nulEnded("AB\0\0 \0", 6);
  EXPECT_EQ(zep::lenc(nulEnded), 2);
  EXPECT_EQ(zep::lenz(nulEnded), 2);
  EXPECT_EQ(zep::leny(std::string_view("  \0X", 4)), 3);
  EXPECT_EQ(zep::leny("   "), 3);
  EXPECT_EQ(zep::lenb("   "), 2);
  EXPECT_EQ(zep::lenb(" AB"), 1);
}

TEST(Text, ComparisonIgnoresCaseAndTrailingBlanks) {
  EXPECT_TRUE(zep::lchreq("abc", "ABC     "));
  EXPECT_FALSE(zep::lchreq("AB", "ABC"));
  EXPECT_FALSE(zep::lchreq("MSGLE", "MSGLEV"));
  EXPECT_FALSE(zep::lchreq("a_", "A-"));
  EXPECT_TRUE(zep::lchrd("0123"));
  EXPECT_FALSE(zep::lchrd("01 3"));
  EXPECT_TRUE(zep::lchrd(""));
}

TEST(Text, SearchesOverStridedElements) {
  const std::string names = "ABCDEFabcdefXY";  // three elements of 4 with stride 4, then XY
  EXPECT_EQ(zep::indxnf(names, 3, 4, "EF"), 2);
  EXPECT_EQ(zep::indxnf(names, 3, 4, "CD"), 0);
  EXPECT_EQ(zep::indxnf("AAxxBBxxCC", 3, 4, "BB"), 2);
  EXPECT_EQ(zep::indxmf("AAxxBBxxCC", 3, 4, "bb"), 2);
  EXPECT_EQ(zep::indxnf("AAxxBBxxCC", 3, 4, "bb"), 0);
  EXPECT_EQ(zep::indxcf("a.b.a.c", 4, 2, "a"), 1);
  EXPECT_EQ(zep::indxcl("a.b.a.c", 4, 2, "a"), 3);
  EXPECT_EQ(zep::nindxc("a.b.a.c", 4, 2, "a"), 2);
  EXPECT_EQ(zep::indxcf("abc", 0, 1, "a"), 0);
  EXPECT_EQ(zep::nindxc("abc", -1, 1, "a"), 0);
  // Plain character search with stride 1; elements past the end never match.
  EXPECT_EQ(zep::indxnf("FRAME ## OF ##", 13, 1, "##"), 7);
  EXPECT_EQ(zep::indxnf("AB", 5, 1, "B"), 2);
  EXPECT_EQ(zep::indxnf("AB", 5, 1, "C"), 0);
}

TEST(Text, AdjustmentInPlace) {
  EXPECT_EQ(adjusted(zep::cladj, "   AB C"), "AB C   ");
  EXPECT_EQ(adjusted(zep::cradj, "AB C   "), "   AB C");
  EXPECT_EQ(adjusted(zep::cdblk, "  A   B C  "), "A B C      ");
  EXPECT_EQ(adjusted(zep::clower, "AbC-Z1"), "abc-z1");
  EXPECT_EQ(adjusted(zep::cladj, "    "), "    ");
}

TEST(Text, CodesAndNulTerminatedCopies) {
  EXPECT_EQ(zep::isgc("A"), 65);
  EXPECT_EQ(zep::isgc("\xff"), 255);
  EXPECT_EQ(zep::csgi(65 + 256), "A");
  char dst[8];
  zep::cfnchr(dst, "AB   ", 5);
  EXPECT_STREQ(dst, "AB");
  zep::cfnchr(dst, "     ", 5);
  EXPECT_STREQ(dst, " ");
  // Never past the receiving text, whatever the length claims.
  char small[4] = {'x', 'x', 'x', 'x'};
  zep::cfnchr(small, "ABCDEFGH", 8);
  EXPECT_STREQ(small, "ABC");
}

TEST(NumberText, Integers) {
  EXPECT_EQ(zep::jfromc("0042"), 42);
  EXPECT_EQ(zep::ifromc(" -12 "), -12);
  EXPECT_EQ(zep::ifromc("+7"), 7);
  EXPECT_EQ(zep::ifromc("2147483647"), 2147483647);
  EXPECT_EQ(zep::ifromc("-2147483648"), -2147483647 - 1);
  EXPECT_EXIT(zep::ifromc("1 2"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (JFROMC) ***  THERE IS A NON-NUMERAL CHARACTER."));
  EXPECT_EXIT(zep::ifromc("   "), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (IFROMC) ***  THERE IS NO VALID CHARACTER."));
  EXPECT_EXIT(zep::ifromc("-"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (JFROMC) ***  THERE IS NO VALID CHARACTER."));
  EXPECT_EXIT(zep::jfromc(" 1"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (JFROMC) ***  THERE IS A NON-NUMERAL CHARACTER."));
  EXPECT_EXIT(zep::ifromc("2147483648"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (JFROMC) ***  THE NUMBER IS OUT OF THE 32-BIT INTEGER RANGE."));
  EXPECT_EXIT(zep::jfromc("99999999999999999999"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (JFROMC) ***  THE NUMBER IS OUT OF THE 32-BIT INTEGER RANGE."));
}

TEST(NumberText, RealsAndLogicals) {
  EXPECT_FLOAT_EQ(zep::ffromc("-0.0050"), -0.005F);
  EXPECT_FLOAT_EQ(zep::ffromc("12."), 12.0F);
  EXPECT_FLOAT_EQ(zep::ffromc(".25"), 0.25F);
  EXPECT_FLOAT_EQ(zep::ffromc("-.5"), -0.5F);
  EXPECT_FLOAT_EQ(zep::ffromc(" 3.75 "), 3.75F);
  EXPECT_FLOAT_EQ(zep::rfromc("2.5e-3"), 0.0025F);
  EXPECT_FLOAT_EQ(zep::rfromc("1E3"), 1000.0F);
  EXPECT_FLOAT_EQ(zep::rfromc("-4.5E+1"), -45.0F);
  EXPECT_FALSE(zep::lfromc(".FALSE."));
  EXPECT_TRUE(zep::lfromc("  t"));
  EXPECT_TRUE(zep::lfromc("TX"));
  EXPECT_FALSE(zep::lfromc("f"));
  EXPECT_EXIT(zep::ffromc("."), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (FFROMC) ***  THERE EXISTS A PERIOD ONLY."));
  EXPECT_EXIT(zep::rfromc("1E"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (IFROMC) ***  THERE IS NO VALID CHARACTER."));
  EXPECT_EXIT(zep::rfromc(""), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (FFROMC) ***  THERE IS NO VALID CHARACTER."));
  EXPECT_EXIT(zep::ffromc("1.2.3"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (JFROMC) ***  THERE IS A NON-NUMERAL CHARACTER."));
  EXPECT_EXIT(zep::ffromc("12345678901234567"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (FFROMC) ***  THE NUMBER HAS MORE THAN 16 DIGITS."));
  EXPECT_EXIT(zep::lfromc("yes"), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (LFROMC) ***  THIS IS INVALID LOGICAL EXPRESSION."));
  EXPECT_EXIT(zep::lfromc("  "), testing::KilledBySignal(SIGABRT),
              lineRegex(" ***** ERROR (LFROMC) ***  THERE IS NO VALID CHARACTER."));
}

TEST(NumberText, LongMantissaIsTruncatedWithAWarning) {
  testing::internal::CaptureStderr();
  const float v = zep::ffromc("123456789");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_FLOAT_EQ(v, 123456780.0F);
  EXPECT_NE(err.find(" *** WARNING (FFROMC) ***  GIVEN NUMBER IS TRUNCATED WITHIN 8 DIGITS."), std::string::npos);
  // Leading zeros do not count towards the eight digits.
  EXPECT_FLOAT_EQ(zep::ffromc("000000001.5"), 1.5F);
}

std::vector<std::string> errors;
void keepError(std::string_view routine, std::string_view text) {
  errors.push_back(std::string(routine) + ": " + std::string(text));
}

TEST(NumberText, ErrorPathsReturnSafeValuesUnderACallback) {
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(&keepError);
    const int a = zep::ifromc("12x");
    const int b = zep::jfromc("");
    const float c = zep::ffromc(".");
    const bool d = zep::lfromc("maybe");
    const int e = zep::ifromc("99999999999");
    std::string cx = "AB";
    zep::chngi(cx, "ABC", 1, "(I3)");
    const std::vector<std::string> want = {
        "JFROMC: THERE IS A NON-NUMERAL CHARACTER.", "JFROMC: THERE IS NO VALID CHARACTER.",
        "FFROMC: THERE EXISTS A PERIOD ONLY.",       "LFROMC: THIS IS INVALID LOGICAL EXPRESSION.",
        "JFROMC: THE NUMBER IS OUT OF THE 32-BIT INTEGER RANGE.", "CHNGI: TEXT LENGTH IS TOO SHORT."};
    if (errors != want) return std::string("unexpected reports");
    if (b != 0 || c != 0.0F || !d || cx != "AB") return std::string("unsafe results");
    (void)a;
    (void)e;
    return std::string();
  });
}

// A real that does not fit a single-precision value is refused like any bad
// number; one that underflows is zero, and so is zero to any power.
TEST(NumberText, RealsBeyondTheSinglePrecisionRange) {
  const std::string line = lineRegex(" ***** ERROR (RFROMC) ***  THE NUMBER IS OUT OF THE REAL RANGE.");
  EXPECT_EXIT(zep::rfromc("1e39"), testing::KilledBySignal(SIGABRT), line);
  EXPECT_EXIT(zep::rfromc("-1E39"), testing::KilledBySignal(SIGABRT), line);
  EXPECT_EXIT(zep::rfromc("4E38"), testing::KilledBySignal(SIGABRT), line);
  EXPECT_EXIT(zep::rfromc("1E2147483647"), testing::KilledBySignal(SIGABRT), line);
  EXPECT_FLOAT_EQ(zep::rfromc("3.4E38"), 3.4e38F);
  EXPECT_FLOAT_EQ(zep::rfromc("-3.4028235E38"), -3.4028235e38F);
  EXPECT_EQ(zep::rfromc("1E-60"), 0.0F);
  EXPECT_EQ(zep::rfromc("0E999"), 0.0F);
  ZEP_EXPECT_ISOLATED([] {
    zep::set_msgdmp_err_func(&keepError);
    const float v = zep::rfromc("1E40");
    if (v != 0.0F) return "value " + std::to_string(v);
    return errors == std::vector<std::string>{"RFROMC: THE NUMBER IS OUT OF THE REAL RANGE."} ? std::string()
                                                                                                : "unexpected reports";
  });
}

TEST(NumberText, IntegerSubstitution) {
  std::string cx = "FRAME ## OF ##";
  zep::chngi(cx, "##", 7, "(I2)");
  EXPECT_EQ(cx, "FRAME  7 OF ##");
  zep::chngi(cx, "##", 123, "(I2)");
  EXPECT_EQ(cx, "FRAME  7 OF **");
  std::string page = "PAGE = ###";
  zep::chngi(page, "###", 42, "(I3)");
  EXPECT_EQ(page, "PAGE =  42");
  std::string narrow = "IWS = ##.";
  zep::chngi(narrow, "##", 2, "(I1)");  // a narrower field is blank-filled on the right
  EXPECT_EQ(narrow, "IWS = 2 .");

  testing::internal::CaptureStderr();
  std::string none = "NO PATTERN";
  zep::chngi(none, "##", 1, "(I2)");
  std::string wide = "A ## B";
  zep::chngi(wide, "##", 1, "(I3)");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(none, "NO PATTERN");
  EXPECT_NE(err.find(" *** WARNING (CHNGI ) ***  PATTERN < ## > WAS NOT FOUND."), std::string::npos);
  EXPECT_NE(err.find(" *** WARNING (CHNGI ) ***  SUBSTITUTION ERROR."), std::string::npos);
  EXPECT_EQ(wide, "A ## B");
}

}  // namespace
