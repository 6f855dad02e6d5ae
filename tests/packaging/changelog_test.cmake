# SPDX-License-Identifier: MIT
# The release history as Debian and the software centres get it, from a
# CHANGELOG.md with the awkward parts: continued items, a ";" and markup in
# an item, a line filling exactly the 78 columns allowed before it wraps, XML's special
# characters, a section after the releases, and dates in January and
# February and on a leap day, whose weekdays are the easiest to get wrong.
# Run: cmake -DSOURCE_DIR=<tree> -DWORK=<folder> -P changelog_test.cmake
include(${SOURCE_DIR}/cmake/changelog.cmake)
file(MAKE_DIRECTORY ${WORK})
set(errors 0)
macro(expect_file path expected what)
  file(READ ${path} actual)
  if(NOT actual STREQUAL "${expected}")
    message(SEND_ERROR "${what}: expected\n[${expected}]\ngot\n[${actual}]")
  endif()
endmacro()

file(WRITE ${WORK}/CHANGELOG.md [=[
# Changelog

Prose before the releases is not an entry.

## 2.1.0.3 (2024-02-29)

- Faster `save`; fewer copies.
- A very long item that goes on and on about what changed in this release so
  that it needs more than one line in Debian's changelog of eighty columns.

## 2.0.0.0 (2025-01-01)

- Files <4 GiB & more.

## 1.9.0.0 (2000-03-01)

- Oldest.

## Notes

- Not a release item.
]=])
varnola_read_changelog(${WORK}/CHANGELOG.md releases)
if(NOT releases STREQUAL "2.1.0.3;2.0.0.0;1.9.0.0")
  message(SEND_ERROR "releases read: ${releases}")
endif()
list(LENGTH releases_1.9.0.0_items oldest_items)
if(NOT oldest_items EQUAL 1)
  message(SEND_ERROR "the last release has ${oldest_items} items: ${releases_1.9.0.0_items}")
endif()

varnola_write_debian_changelog(${WORK}/changelog varnola releases)
expect_file(${WORK}/changelog [=[
varnola (2.1.0.3) unstable; urgency=medium

  * Faster save; fewer copies.
  * A very long item that goes on and on about what changed in this release so
    that it needs more than one line in Debian's changelog of eighty columns.

 -- Varnola developers <dev@varnola.org>  Thu, 29 Feb 2024 12:00:00 +0000

varnola (2.0.0.0) unstable; urgency=medium

  * Files <4 GiB & more.

 -- Varnola developers <dev@varnola.org>  Wed, 01 Jan 2025 12:00:00 +0000

varnola (1.9.0.0) unstable; urgency=medium

  * Oldest.

 -- Varnola developers <dev@varnola.org>  Wed, 01 Mar 2000 12:00:00 +0000
]=] "Debian changelog")

varnola_write_appstream_releases(xml releases)
file(WRITE ${WORK}/releases.xml "${xml}")
expect_file(${WORK}/releases.xml [=[
    <release version="2.1.0.3" date="2024-02-29">
      <description>
        <ul>
          <li>Faster save; fewer copies.</li>
          <li>A very long item that goes on and on about what changed in this release so that it needs more than one line in Debian's changelog of eighty columns.</li>
        </ul>
      </description>
    </release>
    <release version="2.0.0.0" date="2025-01-01">
      <description>
        <ul>
          <li>Files &lt;4 GiB &amp; more.</li>
        </ul>
      </description>
    </release>
    <release version="1.9.0.0" date="2000-03-01">
      <description>
        <ul>
          <li>Oldest.</li>
        </ul>
      </description>
    </release>
]=] "AppStream releases")
