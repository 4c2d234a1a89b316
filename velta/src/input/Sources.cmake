# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  input/ButtonEventInfo.h input/ButtonEventInfo.cpp
  input/InputDevice.h input/InputDevice.cpp
  input/InputEvent.h input/InputEvent.cpp
  input/InputEventInfo.h input/InputEventInfo.cpp
  input/InputManager.h input/InputManager.cpp
  input/InputProcessor.h input/InputProcessor.cpp
  input/InputProvider.h input/InputProvider.cpp
  input/KeyEventInfo.h input/KeyEventInfo.cpp
  input/MoveEventInfo.h input/MoveEventInfo.cpp
  input/SysWMEventInfo.h input/SysWMEventInfo.cpp
)
