# Shortcuts for the scripts in scripts/.
.PHONY: play test demo
play:
	scripts/play
test:
	scripts/test
demo:
	scripts/demo
