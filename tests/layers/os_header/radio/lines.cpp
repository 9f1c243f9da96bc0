#include <string>
#include <Windows.h>
