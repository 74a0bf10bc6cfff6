void skinlib_placeholder() {}
