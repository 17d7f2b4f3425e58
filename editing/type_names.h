// The names of the hitzone mesh types, explosion types and hardpoint types; a code is the
// position of its name.
#pragma once

#include <array>
#include <string_view>

namespace tamsel {

inline constexpr std::array<std::string_view, 32> kMeshTypeNames = {
    "0- Default", "1-MainHull",     "2-Wing",      "3-Fuselage",   "4-GunTurret", "5-SmallGun",
    "6-Engine",   "Bridge",         "ShieldGen",   "EnergyGen",    "Launcher",    "CommSys",
    "BeamSys",    "CommandBeam",    "DockingPlat", "LandingPlat",  "Hangar",      "CargoPod",
    "MiscHull",   "Antenna",        "RotWing",     "RotGunTurret", "RotLauncher", "RotCommSys",
    "RotBeamSys", "RotCommandBeam", "Custom1",     "Custom2",      "Custom3",     "Custom4",
    "Custom5",    "Custom6"};

inline constexpr std::array<std::string_view, 11> kExplosionTypeNames = {
    "0-MoveLine1", "1-MoveLine2", "2-BreakAndExplode1", "3-BreakAndExplode2",
    "4-MoveLine3", "5-MoveLine4", "6-BreakAndExplode3", "7-BlowUp",
    "8-MoveLine5", "9-MoveLine6", "10-BreakAndExplode4"};

// The drop-down shows each name with one trailing blank.
inline constexpr std::array<std::string_view, 32> kHardpointTypeNames = {"NONE",
                                                                         "REBELLASER",
                                                                         "TURBOREBELLASER",
                                                                         "EMPIRELASER",
                                                                         "TURBOEMPIRELASER",
                                                                         "IONCANNON",
                                                                         "TURBOIONCANNON",
                                                                         "TORPEDO",
                                                                         "MISSILE",
                                                                         "SUPERREBELLASER",
                                                                         "SUPEREMPIRELASER",
                                                                         "SUPERIONCANNON",
                                                                         "SUPERTORPEDO",
                                                                         "SUPERMISSILE",
                                                                         "DUMBBOMB",
                                                                         "FIREDBOMB",
                                                                         "MAGPULSE",
                                                                         "TURBOMAGPULSE",
                                                                         "SUPERMAGPULSE",
                                                                         "NEWWEAPON1",
                                                                         "NEWWEAPON2",
                                                                         "NEWWEAPON3",
                                                                         "NEWWEAPON4",
                                                                         "NEWWEAPON5",
                                                                         "NEWWEAPON6",
                                                                         "INSIDEHANGAR",
                                                                         "OUTSIDEHANGAR",
                                                                         "DOCKFROMBIG",
                                                                         "DOCKFROMSMALL",
                                                                         "DOCKTOBIG",
                                                                         "DOCKTOSMALL",
                                                                         "COCKPIT"};

}  // namespace tamsel
