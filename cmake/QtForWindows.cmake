# Qt 6 for Windows in the cross-build: the static Qt that tools/build-qt-windows leaves in its cache
# folder, named by -DCMAKE_PREFIX_PATH=<that folder>. cmake/MinGW-w64.cmake searches packages only
# under the cross compiler's root; each folder of CMAKE_PREFIX_PATH becomes a root too, as Qt's own
# toolchain file does it, so that Qt's packages find one another there. Qt's build tools (moc,
# rcc, uic) are the build machine's own Qt of the same version (qt6-base-dev).
foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
    list(PREPEND CMAKE_FIND_ROOT_PATH ${prefix})
endforeach()
set(QT_HOST_PATH /usr CACHE PATH "the build machine's Qt, whose tools the cross-build runs")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${CMAKE_HOST_SYSTEM_PROCESSOR}-linux-gnu/cmake CACHE PATH
    "the CMake packages of the build machine's Qt")
