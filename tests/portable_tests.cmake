# The tests that need no platform layer of ours: the engine's math, tracks,
# image decoders, scene reader and overlay tables. The Windows build runs them
# under Wine, the web build under Node.
set(kvor_portable_test_sources
  anim/sample_and_hold_test.cpp
  base/description_table_test.cpp
  base/log_test.cpp
  image/file_name_test.cpp
  image/image_loader_test.cpp
  image/jpeg_loader_test.cpp
  image/malformed_files_test.cpp
  image/tga_loader_test.cpp
  image/zkv_loader_test.cpp
  math/math_test.cpp
  overlay/overlay_effects_test.cpp
  scene/animation_reading_test.cpp
  scene/scene_load_test.cpp
  scene/scene_reader_primitives_test.cpp
  scene/scene_reader_test.cpp
  scene/scene_records_test.cpp
)
list(TRANSFORM kvor_portable_test_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
