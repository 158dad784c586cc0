# Writes the service worker with the site's files and a cache name taken
# from their contents, so that any new build of them fills a new cache.
# Usage: cmake -DDIR=build/web -DIN=sw.js "-DFILES=a;b" -DOUT=sw.js -P write_sw.cmake
set(sums "")
foreach(f IN LISTS FILES)
  file(SHA256 ${DIR}/${f} sum)
  string(APPEND sums "${sum} ${f}\n")
endforeach()
string(SHA256 CACHE_TAG "${sums}")
string(SUBSTRING ${CACHE_TAG} 0 16 CACHE_TAG)
list(JOIN FILES "', '" WEB_FILE_LIST)
set(WEB_FILE_LIST "'./', '${WEB_FILE_LIST}'")
configure_file(${IN} ${OUT} @ONLY)
