# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  core/ConfigManager.h core/ConfigManager.cpp
  core/Controller.h
  core/Counter.h
  core/EventManager.h core/EventManager.cpp
  core/LogManager.h core/LogManager.cpp
  core/LogicElement.h core/LogicElement.cpp
  core/Modifier.h
  core/Plugin.h
  core/PluginManager.h core/PluginManager.cpp
  core/Process.h
  core/ProcessManager.h core/ProcessManager.cpp
  core/Sensor.h
  core/SilentLogger.h core/SilentLogger.cpp
  core/SimpleLogger.h core/SimpleLogger.cpp
  core/Subsystem.h
  core/Timer.h
  core/TimerManager.h core/TimerManager.cpp
  core/TimerPlugin.h
  core/VeltaCore.h core/VeltaCore.cpp
)
