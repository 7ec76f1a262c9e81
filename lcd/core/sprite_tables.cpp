#include "lcd/core/sprite_tables.h"

namespace pellox {

SpriteTables BindSpriteTables() {
    using S = SpriteId;
    SpriteTables t;
    t.EggSprites = {{
        {S::imEggUL1, S::imEggUL2, S::imEggUL3, S::imEggUL4, S::imEggUL5},
        {S::imEggUR1, S::imEggUR2, S::imEggUR3, S::imEggUR4, S::imEggUR5},
        {S::imEggDL1, S::imEggDL2, S::imEggDL3, S::imEggDL4, S::imEggDL5},
        {S::imEggDR1, S::imEggDR2, S::imEggDR3, S::imEggDR4, S::imEggDR5},
    }};
    t.BasketSprites = {S::imBask0, S::imBask1, S::imBask2, S::imBask3};
    t.WolfSprites = {S::imWolf0, S::imWolf1};
    t.MissMarkSprites = {S::imErr1, S::imErr2, S::imErr3};
    t.FloorSprites = {{
        {S::imErrL, S::imErrLf, S::imChuckL1, S::imChuckL2, S::imChuckL3, S::imChuckL4},
        {S::imErrR, S::imErrRf, S::imChuckR1, S::imChuckR2, S::imChuckR3, S::imChuckR4},
    }};
    t.SegmentSprites = {{
        {S::imD1_U, S::imD1_UL, S::imD1_UR, S::imD1_M, S::imD1_DL, S::imD1_DR, S::imD1_D},
        {S::imD10_U, S::imD10_UL, S::imD10_UR, S::imD10_M, S::imD10_DL, S::imD10_DR, S::imD10_D},
        {S::imD100_U, S::imD100_UL, S::imD100_UR, S::imD100_M, S::imD100_DL, S::imD100_DR, S::imD100_D},
        {S::imD1000_U, S::imD1000_UL, S::imD1000_UR, S::imD1000_M, S::imD1000_DL, S::imD1000_DR,
         S::imD1000_D},
    }};
    return t;
}

}  // namespace pellox
