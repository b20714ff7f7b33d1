#include "CIndexOfBoundException.h"

const char* CIndexOfBoundException::GetRuntimeClassName() const {
    return "CIndexOfBoundException";
}

const char* CIndexOfBoundException::GetClassLabel() const { return "CIndexOfBoundException"; }
