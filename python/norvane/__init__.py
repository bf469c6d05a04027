"""norvane: the magnetic declination in metropolitan France."""
