#pragma once

// The two radio buttons of the floor's first column that the benchmark clicks
// in turn ("Move" and "Stretch").
enum { kFloorRadioA = 105, kFloorRadioB = 106 };
