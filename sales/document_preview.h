// F2 of the sales register: the current document shown in turn as its
// header, its marks, its recipient and its lines, each step reached by F2.
#pragma once

// 0.
int podglad_dokumentu();
