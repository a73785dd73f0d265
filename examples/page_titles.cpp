// Page titles and corner marks: two pages of A5 paper inside the workstation,
// each with a title above and below, and marks at the workstation's corners.
#include <cmath>

#include <zep/zep.hpp>

int main() {
  zep::sgopn(2);
  zep::slsize("A5");
  zep::sglset("LCORNER", true);
  zep::sgrset("CORNER", 0.03F);
  zep::slsttl("PAGE #PAGE -- drawn #DATE #TIME", "T", -1, 0, 0.025F, 1);
  zep::slsttl("program #PROG", "B", 1, 0, 0.02F, 2);
  for (int page = 0; page < 2; ++page) {
    zep::sgfrm();
    zep::sgswnd(0, 6.3F, -1.2F, 1.2F);
    zep::sgsvpt(0.1F, 0.9F, 0.1F, 0.6F);
    zep::sgstrf();
    zep::sgslni(1);
    zep::sglnv(0.1F, 0.1F, 0.9F, 0.1F);
    zep::sglnv(0.9F, 0.1F, 0.9F, 0.6F);
    zep::sglnv(0.9F, 0.6F, 0.1F, 0.6F);
    zep::sglnv(0.1F, 0.6F, 0.1F, 0.1F);
    zep::sgslni(page == 0 ? 23 : 33);
    for (int i = 0; i < 63; ++i) {
      const float x0 = 0.1F * static_cast<float>(i), x1 = x0 + 0.1F;
      zep::sglnu(x0, std::sin(x0 * static_cast<float>(page + 1)), x1, std::sin(x1 * static_cast<float>(page + 1)));
    }
  }
  zep::sgcls();
  return 0;
}
