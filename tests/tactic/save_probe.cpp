// Saves an edited tactic the way the window does: load, checked open, reserve
// copy, one write. The kill test stops it at each of its writes.
#include "Cm_tactic.h"

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    TCmTactic tactic;
    TCmFileStamp stamp;
    if (!tactic.Load(argv[1], stamp))
        return 3;
    tactic.Players[0].WithBall[0] = {26, 35};
    tactic.Players[5].Instr[1] = "Long";
    TCmSaveSession save;
    const bool saved =
        save.Open(argv[1], stamp) && save.MakeReserveCopy(argv[2]) && save.Write(tactic, stamp);
    return saved ? 0 : 1;
}
