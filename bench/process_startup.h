#pragma once

namespace sacotin::bench {

// Start-up as the player waits for it: a new process of the program (bench/startup_probe.cpp,
// set up as main.cpp sets it up), timed from its start to its first inventory shown.
//
//   Process/EmptyWindow          a process that only shows an empty Qt window
//   Process/WinePrefix/Heavy     the program with WINEPREFIX on the heavy set
//   Process/Home41/Heavy         the program without WINEPREFIX on a home of 41 Proton prefixes:
//                                the heavy set in the oldest, 40 others of 2 MB without the game
//   ReadFloor/Home41             reading the 41 user.reg files, nothing else
//
// Process/Home41 reports its excess over Process/WinePrefix as a ratio of the read floor of the
// 41 files (x_home_floor, target at most 1.5), and Process/WinePrefix its excess over the empty
// window as a ratio of the read floor of user.reg and liste.dat (x_read_floor, target at most 3).
void registerProcessBenchmarks();

}  // namespace sacotin::bench
