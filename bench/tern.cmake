# HTTP server throughput: the example file server against a peer embedded server
# (libmicrohttpd) serving the same small response. tern_wrk.sh runs both under wrk.
find_package(PkgConfig)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(MHD IMPORTED_TARGET libmicrohttpd)
endif()
if(MHD_FOUND)
  add_executable(bench_tern_peer ${CMAKE_CURRENT_LIST_DIR}/bench_tern_peer.cpp)
  target_link_libraries(bench_tern_peer PRIVATE PkgConfig::MHD)
endif()
